#pragma once
// The compressor page: the compressors of the five output groups (Main, Rear, Center, Sub,
// Top) side by side, each with its on/off box, its transfer-curve panel and four sliders
// (threshold, ratio, attack, release) with their values beside them. Every slider move
// sends the group's whole compressor block; the box sends the bypass switch.

#include "dsp/CompressorControl.h"
#include "pageapi/PageRegistry.h"
#include "pages/DialogTextBinder.h"

#include <array>

class CCompressPanelPlus;
class COutputNavBar;
class CXBmpSlider;
class QCheckBox;
class QLabel;

// Control ids (group g 0..4, slider s 0..3), which key the captions in the language tables.
enum CompDlgIds : int
{
    IDC_COMP_SWITCH = 1200,  // + g
    IDC_COMP_CAPTION = 1210, // + 4 g + s
    IDC_COMP_SLIDER = 1230,  // + 4 g + s
    IDC_COMP_VALUE = 1250,   // + 4 g + s
    IDC_COMP_PANEL = 1270,   // + g
};

class CCompDlg : public CPageBase
{
    Q_OBJECT

public:
    // `shell` may be null (tests): the page then has no navigation to other pages.
    explicit CCompDlg(PageShell* shell, QWidget* parent = nullptr);
    ~CCompDlg() override;

    PageKind Kind() const override { return PageKind::Comp; }
    // Loads every group from the stores; writes nothing.
    void Refresh() override;
    void Relabel() override;

    QCheckBox* SwitchBox(int g) const { return groups_[Index(g)].on; }
    CCompressPanelPlus* Panel(int g) const { return groups_[Index(g)].panel; }
    CXBmpSlider* Slider(int g, int s) const { return groups_[Index(g)].sliders[Index(s)]; }
    QLabel* Value(int g, int s) const { return groups_[Index(g)].values[Index(s)]; }
    QLabel* Caption(int g, int s) const { return groups_[Index(g)].captions[Index(s)]; }
    COutputNavBar* NavBar() const { return nav_; }

    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Group
    {
        QCheckBox* on = nullptr;
        CCompressPanelPlus* panel = nullptr;
        std::array<QLabel*, COMP_SLIDER_COUNT> captions{};
        std::array<CXBmpSlider*, COMP_SLIDER_COUNT> sliders{};
        std::array<QLabel*, COMP_SLIDER_COUNT> values{};
    };

    static size_t Index(int i) { return static_cast<size_t>(i); }
    void BuildGroup(int g);
    void LoadGroup(int g);
    void OnSlider(int controlId, int position);
    void OnSwitch(int g, bool on);
    void LayOut();
    // The room the navigation bar takes along the top.
    int NavHeight() const;

    PageShell* shell_;
    DialogTextBinder texts_;
    COutputNavBar* nav_ = nullptr;
    std::array<Group, kCompGroupCount> groups_{};
};
