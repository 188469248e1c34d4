#pragma once
// The machine settings window: the start volumes and maxima the processor starts with, the
// front panel lock, how it keeps the main volumes, the mode it starts in and the mic phase.
// It edits the working copy of the machine-settings record; "Apply" sends the record, "Cancel"
// and the close box throw the edits away. The mode buttons reset a mode to its factory
// setting. A modeless tool window of the shell (F7).

#include "app/PageRegistry.h"
#include "link/MachineSettings.h"
#include "pages/DialogTextBinder.h"

#include <array>

class CGdipButton;
class CXBmpSlider;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

// Control ids of the window's captions in the language table (dialog 335).
enum SetDlgIds : int
{
    IDC_SET_START_GROUP = 1401,
    IDC_SET_MAX_GROUP = 1402,
    IDC_SET_SAVE_GROUP = 1403,
    IDC_SET_PHASE_GROUP = 1404,
    IDC_SET_RESET_GROUP = 1405,
    IDC_SET_POWER_GROUP = 1406,
    IDC_SET_MIC_START_CAPTION = 1407,
    IDC_SET_MIC_START_ENABLE = 1408,
    IDC_SET_MUSIC_START_CAPTION = 1409,
    IDC_SET_MUSIC_START_ENABLE = 1410,
    IDC_SET_MIC_MAX_CAPTION = 1411,
    IDC_SET_MUSIC_MAX_CAPTION = 1412,
    IDC_SET_BY_POWER = 1413,
    IDC_SET_BY_MODE = 1414,
    IDC_SET_MIC1_REVERSE = 1415,
    IDC_SET_MIC2_REVERSE = 1416,
    IDC_SET_MODE_FIRST = 1417, // 1417..1420 "M1".."M4"
    IDC_SET_LOCK_PANEL = 1421,
    IDC_SET_LOCK_VOLUME = 1422,
    IDC_SET_LOCK_MODE = 1423,
    IDC_SET_APPLY = 1424,
    IDC_SET_CANCEL = 1425,
    IDC_SET_SLIDER_FIRST = 1430, // 1430 mic start, 1431 music start, 1432 mic max, 1433 music max
};

class CSetDlg : public CToolWindowBase
{
    Q_OBJECT

public:
    // Slider index: 0 mic start, 1 music start, 2 mic maximum, 3 music maximum.
    static constexpr int kSliders = 4;

    explicit CSetDlg(PageShell* shell, QWidget* parent = nullptr);
    ~CSetDlg() override;

    ToolKind Kind() const override { return ToolKind::MachineSettings; }
    // The opening procedure: the working copy from the committed copy, every control from it.
    void Refresh() override;
    void Relabel() override;

    CXBmpSlider* Slider(int index) const { return sliders_[static_cast<size_t>(index)]; }
    QLabel* Value(int index) const { return values_[static_cast<size_t>(index)]; }
    QLabel* Caption(int index) const { return captions_[static_cast<size_t>(index)]; }
    QCheckBox* StartEnable(int index) const { return enables_[static_cast<size_t>(index)]; }
    QRadioButton* SaveModeButton(int mode) const { return saveModes_[static_cast<size_t>(mode)]; }
    QCheckBox* PhaseBox(int channel) const { return phases_[static_cast<size_t>(channel)]; }
    CGdipButton* ModeButton(int mode) const { return modes_[static_cast<size_t>(mode)]; }
    QCheckBox* LockPanelBox() const { return lockPanel_; }
    QCheckBox* LockVolumeBox() const { return lockVolume_; }
    QCheckBox* LockModeBox() const { return lockMode_; }
    QComboBox* PowerOnBox() const { return powerOn_; }
    QPushButton* ApplyButton() const { return apply_; }
    QPushButton* CancelButton() const { return cancel_; }

    // "Cancel", Escape and the close box: the edits are thrown away.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnSliderMoved(int controlId, int position);
    void ShowStart(int index, const StartVolumeShown& shown);
    void ShowLockBoxes(bool panelLocked);
    void OnApply();
    void OnModeButton(int mode);

    PageShell* shell_;
    DialogTextBinder texts_;
    std::array<CXBmpSlider*, kSliders> sliders_{};
    std::array<QLabel*, kSliders> values_{};
    std::array<QLabel*, kSliders> captions_{};
    std::array<QCheckBox*, 2> enables_{};
    std::array<QRadioButton*, 2> saveModes_{};
    std::array<QCheckBox*, 2> phases_{};
    std::array<CGdipButton*, 4> modes_{};
    QCheckBox* lockPanel_ = nullptr;
    QCheckBox* lockVolume_ = nullptr;
    QCheckBox* lockMode_ = nullptr;
    QComboBox* powerOn_ = nullptr;
    QPushButton* apply_ = nullptr;
    QPushButton* cancel_ = nullptr;
    bool filling_ = false; // controls are being set from the record: no edits
};
