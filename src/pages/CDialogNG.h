#pragma once
// The noise gate dialog: attack and release times of the mic noise gate (shared by the four
// mic ports) and of the music noise gate, one slider each. Every movement is stored and sent
// at once; OK and Cancel only close the dialog.

#include "pageapi/PageRegistry.h"
#include "pages/DialogTextBinder.h"

#include <array>

class CXBmpSlider;
class QGroupBox;
class QLabel;
class QPushButton;

enum DialogNgIds : int
{
    IDC_NG_MIC_GROUP = 1178,
    IDC_NG_MUSIC_GROUP = 1179,
    IDC_NG_CAPTION_FIRST = 1123, // 1123..1126
    IDC_NG_SLIDER_FIRST = 1041,  // 1041 mic attack, 1042 mic release, 1043, 1044 music
    IDC_NG_READOUT_FIRST = 1127, // 1127..1130
};

class CDialogNG : public CToolWindowBase
{
    Q_OBJECT

public:
    // Slider index: 0 mic attack, 1 mic release, 2 music attack, 3 music release.
    static constexpr int kSliders = 4;

    explicit CDialogNG(PageShell* shell, QWidget* parent = nullptr);
    ~CDialogNG() override;

    ToolKind Kind() const override { return ToolKind::NoiseGate; }
    // Sliders and read-outs from the parameter store.
    void Refresh() override;
    void Relabel() override;

    CXBmpSlider* Slider(int index) const { return sliders_[static_cast<size_t>(index)]; }
    QLabel* Readout(int index) const { return readouts_[static_cast<size_t>(index)]; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnSliderMoved(int controlId, int position);

    PageShell* shell_;
    DialogTextBinder texts_;
    std::array<CXBmpSlider*, kSliders> sliders_{};
    std::array<QLabel*, kSliders> readouts_{};
    std::array<QLabel*, kSliders> captions_{};
    std::array<QGroupBox*, 2> groups_{};
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};
