#include "app/CKW4620v13View.h"

#include "app/AppSettings.h"
#include "app/AppText.h"
#include "app/CAboutDlg.h"
#include "app/CInfoDlg.h"
#include "app/CPlaceholderPage.h"
#include "app/CRibbonBar.h"
#include "app/DeviceSession.h"
#include "i18n/DialogTexts.h"
#include "link/controller/UiPort.h"

#include <QVBoxLayout>

#include <chrono>
#include <thread>

namespace {
void SleepPause(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
} // namespace

CKW4620v13View::CKW4620v13View(CRibbonBar& ribbon, DeviceSession& session, UiPort& ui,
                               AppSettings& settings, QWidget* parent)
    : QWidget(parent), ribbon_(ribbon), session_(session), ui_(ui), settings_(settings),
      master_(MasterControls::Hooks{[this](const QString& text, int ms) { ShowInfo(text, ms); },
                                    [this] { return session_.MicMaxVolume(); },
                                    [this] { return session_.MusicMaxVolume(); },
                                    [this](int ms) {
                                        if (pause_) {
                                            pause_(ms);
                                        }
                                    }}),
      pause_(SleepPause), host_(new CPageHost(this))
{
    setObjectName("CKW4620v13View");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(host_);
    ConnectRibbon();
}

CKW4620v13View::~CKW4620v13View()
{
    for (auto& tool : tools_) {
        delete tool.data();
    }
    delete info_.data();
}

void CKW4620v13View::SetPause(PauseFn pause)
{
    pause_ = std::move(pause);
}

void CKW4620v13View::ConnectRibbon()
{
    connect(&ribbon_, &CRibbonBar::VolumeMoved, this, &CKW4620v13View::OnVolumeMoved);
    connect(&ribbon_, &CRibbonBar::MuteClicked, this,
            [this](MasterVolume channel) { OnMuteClicked(channel, false); });
    connect(&ribbon_, &CRibbonBar::InputLevelMoved, this, &CKW4620v13View::OnInputLevelMoved);
    connect(&ribbon_, &CRibbonBar::InputClicked, this, &CKW4620v13View::OnInputClicked);
    connect(&ribbon_, &CRibbonBar::NoiseGateMoved, this, &CKW4620v13View::OnNoiseGateMoved);
    connect(&ribbon_, &CRibbonBar::PitchMoved, this, &CKW4620v13View::OnPitchMoved);
    connect(&ribbon_, &CRibbonBar::CommandTriggered, this, &CKW4620v13View::OnCommand);
    connect(&ribbon_, &CRibbonBar::CategoryChanged, this, &CKW4620v13View::OnCategoryChanged);
    connect(&ribbon_, &CRibbonBar::RecentFileChosen, this,
            [this](const QString& path) { session_.OpenDocument(path.toStdString()); });
}

CPageBase* CKW4620v13View::CurrentPage() const
{
    return dynamic_cast<CPageBase*>(host_->Page());
}

CInfoDlg* CKW4620v13View::InfoDlg()
{
    if (!info_) {
        info_ = new CInfoDlg(window());
    }
    return info_;
}

void CKW4620v13View::ShowInfo(const QString& text, int ms)
{
    InfoDlg()->ShowInfo(text, ms);
}

void CKW4620v13View::ShowPage(PageKind kind, int group)
{
    if (kind == PageKind::Output || kind == PageKind::Delay || kind == PageKind::Comp ||
        kind == PageKind::SoundField) {
        if (group >= 0) {
            outputGroup_ = group;
        }
    }
    if (CPageBase* page = CurrentPage(); page && page->Kind() == kind) {
        if (kind == PageKind::Output) {
            page->SetOutputGroup(outputGroup_);
        }
        page->Refresh();
        emit StatusChanged();
        return;
    }
    CPageBase* page = nullptr;
    if (const PageFactory& factory = PageRegistry::Instance().Page(kind)) {
        page = factory(*this, nullptr);
    }
    if (!page) {
        page = new CPlaceholderPage(kind, nullptr);
    }
    if (kind == PageKind::Output) {
        page->SetOutputGroup(outputGroup_);
    }
    host_->SetPage(page);
    emit StatusChanged();
}

void CKW4620v13View::RefreshRibbonControls()
{
    for (int v = 0; v < 4; ++v) {
        const auto channel = static_cast<MasterVolume>(v);
        ribbon_.ShowVolume(channel, MasterControls::Volume(channel));
        ribbon_.ShowMute(channel, MasterControls::Muted(channel));
    }
    for (int i = 0; i < 3; ++i) {
        const auto input = static_cast<MusicInput>(i);
        ribbon_.ShowInputLevel(input, MasterControls::InputLevel(input), false);
        ribbon_.ShowInputOn(input, MasterControls::InputOn(input));
    }
    ribbon_.ShowNoiseGate(MasterControls::NoiseGate());
    ribbon_.ShowPitch(MasterControls::Pitch());
}

void CKW4620v13View::UpdateRibbonBoxes()
{
    for (int v = 0; v < 4; ++v) {
        const auto channel = static_cast<MasterVolume>(v);
        ribbon_.ShowMute(channel, MasterControls::Muted(channel));
    }
    for (int i = 0; i < 3; ++i) {
        const auto input = static_cast<MusicInput>(i);
        ribbon_.ShowInputOn(input, MasterControls::InputOn(input));
    }
}

void CKW4620v13View::RefreshMusicSource()
{
    const bool coded = session_.StatusByte(14) != 0;
    ribbon_.SetMusicSourceCaption(coded ? PairText("音乐音源:DTS/AC3", "Music Source:DTS/AC3")
                                        : PairText("音乐音源", "Music Source"));
}

void CKW4620v13View::RefreshAll()
{
    RefreshRibbonControls();
    if (CPageBase* page = CurrentPage()) {
        page->Refresh();
    }
    for (auto& tool : tools_) {
        if (tool &&
            (tool->Kind() == ToolKind::MachineSettings || tool->Kind() == ToolKind::Features)) {
            tool->Refresh();
        }
    }
    emit StatusChanged();
}

void CKW4620v13View::CloseToolWindows()
{
    for (auto& tool : tools_) {
        delete tool.data();
        tool = nullptr;
    }
}

CToolWindowBase* CKW4620v13View::ToolWindow(ToolKind kind) const
{
    return tools_[static_cast<size_t>(kind)];
}

void CKW4620v13View::OpenToolWindow(ToolKind kind)
{
    auto& slot = tools_[static_cast<size_t>(kind)];
    if (!slot) {
        CToolWindowBase* tool = nullptr;
        if (const ToolFactory& factory = PageRegistry::Instance().Tool(kind)) {
            tool = factory(*this, window());
        }
        if (!tool) {
            tool = new CPlaceholderTool(kind, window());
        }
        tool->setAttribute(Qt::WA_DeleteOnClose);
        tool->setModal(false);
        slot = tool;
    }
    const QRect frame = window()->geometry();
    slot->adjustSize();
    slot->move(frame.center() - QPoint(slot->width() / 2, slot->height() / 2));
    slot->Refresh();
    slot->Relabel();
    slot->show();
    slot->raise();
    slot->activateWindow();
}

void CKW4620v13View::SwitchLanguage()
{
    // Flips the language index and loads the new table.
    ::SwitchLanguage();
    settings_.SetLanguage(AppLanguage());
    ribbon_.Relabel();
    RefreshRibbonControls();
    RefreshMusicSource();
    if (info_) {
        info_->Relabel();
    }
    for (auto& tool : tools_) {
        if (tool) {
            tool->Relabel();
        }
    }
    if (CPageBase* page = CurrentPage()) {
        page->Relabel();
    }
    emit LanguageSwitched();
    emit StatusChanged();
}

void CKW4620v13View::OnCommand(int id)
{
    using namespace RibbonId;
    if (id >= kLoadModeFirst && id < kLoadModeFirst + 4) {
        session_.RecallMode(id - kLoadModeFirst);
        return;
    }
    if (id >= kSaveModeFirst && id < kSaveModeFirst + 4) {
        session_.StoreMode(id - kSaveModeFirst, false);
        return;
    }
    switch (id) {
    case kOpen:
    case 32827:
    case 32881:
        session_.LoadModeFile();
        break;
    case kSave:
    case 32828:
    case 32882:
        session_.SaveModeFile();
        break;
    case kExit:
        window()->close();
        break;
    case kAbout: {
        CAboutDlg about(session_, window());
        about.exec();
        break;
    }
    case kFeatures:
        OpenToolWindow(ToolKind::Features);
        break;
    case kReset:
        session_.RestartProcessor();
        break;
    case kRemote:
        if (session_.IsConnected()) {
            OpenToolWindow(ToolKind::Remote);
        }
        break;
    case kLanguage:
        SwitchLanguage();
        break;
    default:
        break;
    }
}

void CKW4620v13View::OnCategoryChanged(int category)
{
    if (category == CRibbonBar::Output) {
        ShowPage(PageKind::Output, outputGroup_);
    } else {
        ShowPage(PageKind::Music);
    }
    RefreshRibbonControls();
    RefreshMusicSource();
}

void CKW4620v13View::OnVolumeMoved(MasterVolume channel, int position)
{
    ribbon_.ShowVolume(channel, master_.MoveVolume(channel, position));
}

void CKW4620v13View::OnMuteClicked(MasterVolume channel, bool fromKey)
{
    ribbon_.ShowMute(channel, master_.ToggleMute(channel, fromKey));
}

void CKW4620v13View::OnInputLevelMoved(MusicInput input, int position)
{
    ribbon_.ShowInputLevel(input, master_.MoveInputLevel(input, position), true);
}

void CKW4620v13View::OnInputClicked(MusicInput input)
{
    ribbon_.ShowInputOn(input, master_.ToggleInput(input));
}

void CKW4620v13View::OnNoiseGateMoved(int position)
{
    ribbon_.ShowNoiseGate(master_.MoveNoiseGate(position));
}

void CKW4620v13View::OnPitchMoved(int position)
{
    ribbon_.ShowPitch(master_.MovePitch(position));
}

bool CKW4620v13View::PageHasEqBypass() const
{
    CPageBase* page = CurrentPage();
    return page && page->Eq() &&
           (page->Kind() == PageKind::Music || page->Kind() == PageKind::Efx ||
            page->Kind() == PageKind::Output);
}

void CKW4620v13View::ToggleEqBypass()
{
    if (!PageHasEqBypass()) {
        return;
    }
    PageEq* eq = CurrentPage()->Eq();
    eq->SetEqBypass(!eq->EqBypass());
    emit StatusChanged();
}

void CKW4620v13View::AskResetEq()
{
    if (!PageHasEqBypass()) {
        return;
    }
    if (ui_.AskUser(PairText("您确定重置当前均衡吗?", "Are you sure reset the EQ?").toStdString(),
                    "提示", UiButtons::YesNo, UiIcon::Question) == UiAnswer::Yes) {
        if (CPageBase* page = CurrentPage(); page && page->Eq()) {
            page->Eq()->ResetEq();
        }
    }
}

void CKW4620v13View::OnRemoteKey(int key)
{
    (void)key; // already in the remote key table
    if (CToolWindowBase* remote = ToolWindow(ToolKind::Remote)) {
        remote->Refresh();
    }
}

bool CKW4620v13View::KeysForLink() const
{
    return session_.AcceptsModeKeys();
}

void CKW4620v13View::OnRecallModeKey(int mode)
{
    if (KeysForLink()) {
        session_.OnModeKey(mode, false);
    }
}

void CKW4620v13View::OnStoreModeKey(int mode)
{
    if (KeysForLink()) {
        session_.OnModeKey(mode, true);
    }
}

void CKW4620v13View::OnNoiseGateKey()
{
    if (!KeysForLink() || noiseGate_) {
        return;
    }
    CToolWindowBase* dialog = nullptr;
    if (const ToolFactory& factory = PageRegistry::Instance().Tool(ToolKind::NoiseGate)) {
        dialog = factory(*this, window());
    }
    if (!dialog) {
        dialog = new CPlaceholderTool(ToolKind::NoiseGate, window());
    }
    noiseGate_ = dialog;
    dialog->Refresh();
    dialog->Relabel();
    dialog->exec();
    delete dialog;
}

void CKW4620v13View::OnMachineSettingsKey()
{
    if (!session_.SyncDialogShown()) {
        OpenToolWindow(ToolKind::MachineSettings);
    }
}

void CKW4620v13View::OnPickBandKey(int band)
{
    if (CPageBase* page = CurrentPage(); page && page->Eq()) {
        page->Eq()->PickEqBand(band);
    }
}

void CKW4620v13View::OnBypassKey()
{
    ToggleEqBypass();
}

void CKW4620v13View::OnVolumeKey(MasterVolume channel, bool up, bool leftCtrl)
{
    ribbon_.ShowVolume(channel, master_.StepVolume(channel, up, leftCtrl));
}

void CKW4620v13View::OnMuteKey(MasterVolume channel)
{
    OnMuteClicked(channel, true);
}

void CKW4620v13View::OnOpenKey()
{
    session_.LoadModeFile();
}

void CKW4620v13View::OnSaveKey()
{
    session_.SaveModeFile();
}
