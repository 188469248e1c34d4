#pragma once
// The main view: hosts the current page, keeps the ribbon's master controls in step with the
// parameter store, opens the tool windows, switches the language and answers the keyboard
// commands.

#include "app/CPageHost.h"
#include "app/MasterControls.h"
#include "app/ShortcutFilter.h"
#include "pageapi/PageRegistry.h"

#include <QPointer>
#include <QWidget>

#include <array>

class AppSettings;
class CInfoDlg;
class CRibbonBar;

class CKW4620v13View : public QWidget, public PageShell, public ShortcutTarget
{
    Q_OBJECT
public:
    CKW4620v13View(CRibbonBar& ribbon, DeviceSession& session, UiPort& ui, AppSettings& settings,
                   QWidget* parent = nullptr);
    ~CKW4620v13View() override;

    // PageShell
    void ShowPage(PageKind kind, int group = -1) override;
    void ShowInfo(const QString& text, int ms) override;
    void MasterVolumesChanged() override { RefreshRibbonControls(); }
    int OutputGroup() const override { return outputGroup_; }
    void SetOutputGroup(int group) override { outputGroup_ = group; }
    DeviceSession& Session() override { return session_; }
    UiPort& Ui() override { return ui_; }

    CPageBase* CurrentPage() const;
    CPageHost* Host() const { return host_; }
    CInfoDlg* InfoDlg();

    void RefreshAll();
    void RefreshRibbonControls();
    // The ticked state of the ribbon's boxes from the store (the idle update).
    void UpdateRibbonBoxes();
    void RefreshMusicSource();
    void CloseToolWindows();
    void OpenToolWindow(ToolKind kind);
    CToolWindowBase* ToolWindow(ToolKind kind) const;
    void SwitchLanguage();
    // MSG_REMOTE_KEY: a remote key was learned; the remote-control window shows it.
    void OnRemoteKey(int key);

    MasterControls& Master() { return master_; }
    // Tests shorten the pause of the music fade-in.
    void SetPause(PauseFn pause);

    // The status bar's bypass box and reset button act on the current page.
    bool PageHasEqBypass() const;
    void ToggleEqBypass();
    void AskResetEq();

    // ShortcutTarget
    void OnRecallModeKey(int mode) override;
    void OnStoreModeKey(int mode) override;
    void OnNoiseGateKey() override;
    void OnMachineSettingsKey() override;
    void OnPickBandKey(int band) override;
    void OnBypassKey() override;
    void OnVolumeKey(MasterVolume channel, bool up, bool leftCtrl) override;
    void OnMuteKey(MasterVolume channel) override;
    void OnOpenKey() override;
    void OnSaveKey() override;

signals:
    void LanguageSwitched();
    void StatusChanged();

private:
    void ConnectRibbon();
    void OnCommand(int id);
    void OnCategoryChanged(int category);
    void OnVolumeMoved(MasterVolume channel, int position);
    void OnMuteClicked(MasterVolume channel, bool fromKey);
    void OnInputLevelMoved(MusicInput input, int position);
    void OnInputClicked(MusicInput input);
    void OnNoiseGateMoved(int position);
    void OnPitchMoved(int position);
    bool KeysForLink() const;

    CRibbonBar& ribbon_;
    DeviceSession& session_;
    UiPort& ui_;
    AppSettings& settings_;
    MasterControls master_;
    PauseFn pause_;
    CPageHost* host_;
    QPointer<CInfoDlg> info_;
    std::array<QPointer<CToolWindowBase>, kToolKindCount> tools_{};
    QPointer<CToolWindowBase> noiseGate_;
    int outputGroup_ = 5;
};
