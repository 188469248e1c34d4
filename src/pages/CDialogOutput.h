#pragma once
// The output page: one speaker output at a time (Main, Rear, Center, Sub, Top) with its mix
// of the four sources, SRS 3D on the stereo outputs, the five outputs' mutes, and the
// output's EQ (ten bands, or the Sub's five slots with their crossovers). The output group's
// navigation bar runs along its top.

#include "pageapi/PageRegistry.h"
#include "pages/DialogTextBinder.h"

#include <array>

class CEqBandList;
class CEqPanel;
class CEqSection;
class COutputNavBar;
class CXBmpSlider;
class QCheckBox;
class QLabel;

enum DialogOutputIds : int
{
    IDC_OUT_MIX_SLIDER = 1090, // 1090..1093: direct, reverb, echo, music
    IDC_OUT_SRS_SLIDER = 1094,
    IDC_OUT_MIX_CAPTION = 1095, // 1095..1098
    IDC_OUT_SRS_CAPTION = 1099,
    IDC_OUT_MUTE = 1215, // 1215..1219: Main, Rear, Center, Sub, Top
    IDC_OUT_TITLE = 1220,
};

class CDialogOutput : public CPageBase
{
    Q_OBJECT

public:
    static constexpr int kMutedNoticeMs = 1100;

    // Shows output `outputKind` (5, 4, 3, 2 or 11; anything else shows Main). `shell` may be
    // null (tests): no notices and no page changes.
    CDialogOutput(PageShell* shell, int outputKind, QWidget* parent = nullptr);
    ~CDialogOutput() override;

    // CPageBase
    PageKind Kind() const override { return PageKind::Output; }
    void Refresh() override;
    void Relabel() override;
    void SetOutputGroup(int outputKind) override { ShowOutput(outputKind); }
    PageEq* Eq() override;

    // Another output on the same page (the page stays, the controls reload).
    void ShowOutput(int outputKind);
    int OutputKind() const { return kind_; }

    // A slider moved: mix sliders and SRS 3D.
    void OnSliderMoved(int controlId, int position);
    // A mute box was clicked: index 0..4 in the order Main, Rear, Center, Sub, Top.
    void OnMuteClicked(int index, bool checked);

    CEqSection* EqSection() const { return eq_; }
    CEqPanel* Panel() const;
    CEqBandList* Bands() const;
    COutputNavBar* NavBar() const { return nav_; }
    CXBmpSlider* MixSlider(int source) const { return mix_[static_cast<size_t>(source)]; }
    QLabel* MixValue(int source) const { return mixValues_[static_cast<size_t>(source)]; }
    QLabel* MixCaption(int source) const { return mixCaptions_[static_cast<size_t>(source)]; }
    CXBmpSlider* SrsSlider() const { return srs_; }
    QLabel* SrsValue() const { return srsValue_; }
    QLabel* SrsCaption() const { return srsCaption_; }
    QCheckBox* MuteBox(int index) const { return mutes_[static_cast<size_t>(index)]; }
    QLabel* Title() const { return title_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Build();
    void Layout(const QSize& size);
    void MutedNotice();

    PageShell* shell_;
    DialogTextBinder texts_;
    int kind_;
    COutputNavBar* nav_ = nullptr;
    QLabel* title_ = nullptr;
    std::array<CXBmpSlider*, 4> mix_{};
    std::array<QLabel*, 4> mixValues_{};
    std::array<QLabel*, 4> mixCaptions_{};
    CXBmpSlider* srs_ = nullptr;
    QLabel* srsValue_ = nullptr;
    QLabel* srsCaption_ = nullptr;
    std::array<QCheckBox*, 5> mutes_{};
    CEqSection* eq_ = nullptr;
};
