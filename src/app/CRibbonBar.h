#pragma once
// The ribbon: the application button, the two categories "Input" and "Output" with their
// eight panels, and the buttons beside the tabs. Each master control exists once per
// category; the view keeps both copies equal through ShowVolume and the other Show calls.

#include "app/CStepSlider.h"
#include "app/MasterWrites.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QStackedWidget>
#include <QToolButton>
#include <QWidget>

#include <array>
#include <functional>

// Command ids of the ribbon and the application menu.
namespace RibbonId {
inline constexpr int kOpen = 57601;
inline constexpr int kSave = 57603;
inline constexpr int kExit = 57665;
inline constexpr int kAbout = 57664;
inline constexpr int kFeatures = 32887;
inline constexpr int kReset = 32811;
inline constexpr int kRemote = 32812;
inline constexpr int kLanguage = 32805;
inline constexpr int kLoadModeFirst = 32910; // ..32913
inline constexpr int kSaveModeFirst = 32914; // ..32917
} // namespace RibbonId

class CRibbonPanel : public QFrame
{
public:
    CRibbonPanel(QWidget* parent);
    QWidget* Body() const { return body_; }
    QLabel* Caption() const { return caption_; }

private:
    QWidget* body_;
    QLabel* caption_;
};

// One category's copy of every control.
struct RibbonCategory
{
    QWidget* page = nullptr;
    std::array<CRibbonPanel*, 8> panels{};
    std::array<QLabel*, 4> volumeLabel{};
    std::array<CStepSlider*, 4> volumeSlider{};
    std::array<QCheckBox*, 4> muteBox{};
    std::array<CStepSlider*, 3> inputSlider{};
    std::array<QLabel*, 3> inputLabel{};
    std::array<QCheckBox*, 3> inputBox{};
    QLabel* noiseGateLabel = nullptr;
    CStepSlider* noiseGateSlider = nullptr;
    CStepSlider* pitchSlider = nullptr;
    QToolButton* loadMode = nullptr;
    QToolButton* loadFile = nullptr;
    QToolButton* saveMode = nullptr;
    QToolButton* saveFile = nullptr;
};

class CRibbonBar : public QWidget
{
    Q_OBJECT
public:
    enum Category
    {
        Input = 0,
        Output = 1
    };

    struct Providers
    {
        std::function<QStringList()> recentFiles;
        std::function<QStringList()> modeNames; // four names
        std::function<int()> currentMode;
    };

    explicit CRibbonBar(Providers providers, QWidget* parent = nullptr);

    int ActiveCategory() const { return active_; }
    QString ActiveCategoryCaption() const;
    // Selects a category as if its tab had been clicked (reports CategoryChanged).
    void SelectCategory(int category);

    const RibbonCategory& Copy(int category) const
    {
        return copies_[static_cast<size_t>(category)];
    }
    const RibbonCategory& ActiveCopy() const { return Copy(active_); }

    // Both copies of a control show the value; labels are set as after a move.
    void ShowVolume(MasterVolume channel, int value);
    void ShowMute(MasterVolume channel, bool muted);
    void ShowInputLevel(MusicInput input, int value, bool afterMove);
    void ShowInputOn(MusicInput input, bool on);
    void ShowNoiseGate(int value);
    void ShowPitch(int value);
    void SetMusicSourceCaption(const QString& caption);
    QString MusicSourceCaption() const;

    // Every ribbon text in the current language.
    void Relabel();

    // Finds a control of either copy by its command id.
    QWidget* FindCommand(int id) const;

signals:
    void VolumeMoved(MasterVolume channel, int position);
    void MuteClicked(MasterVolume channel);
    void InputLevelMoved(MusicInput input, int position);
    void InputClicked(MusicInput input);
    void NoiseGateMoved(int position);
    void PitchMoved(int position);
    // Buttons and menu items, by command id.
    void CommandTriggered(int id);
    void RecentFileChosen(const QString& path);
    void CategoryChanged(int category);

protected:
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildCategory(int category);
    QToolButton* MakeBigButton(QWidget* parent, int id, int glyph);
    QToolButton* MakeSideButton(int id, int glyph);
    void FillAppMenu();
    void FillModeMenu(QMenu* menu, int firstId);
    void UpdateTabs();
    QRect RectIn(QWidget* w) const;

    Providers providers_;
    int active_ = Input;
    QToolButton* appButton_ = nullptr;
    QMenu* appMenu_ = nullptr;
    std::array<QToolButton*, 2> tabs_{};
    std::array<QToolButton*, 5> side_{};
    QStackedWidget* stack_ = nullptr;
    std::array<RibbonCategory, 2> copies_;
    QString musicSourceCaption_;
};
