#pragma once
// The delay page: the delay chart above eight channel rows (Main L, Main R, Center, Sub,
// Rear L, Rear R, Top L, Top R), each with its "ON" box, the high-frequency and channel delay
// radios, the split-frequency slider with its "%dHz" text, the channel caption and the delay
// edit box ("%.1fms") with its spin button. Delays are typed (Enter), stepped (0.1 ms) or
// dragged on the chart; every change is limited to 1.5..100.0 ms and sent only when it differs
// from the stored delay.

#include "dsp/DelayControl.h"
#include "pageapi/PageRegistry.h"
#include "pages/DialogTextBinder.h"

#include <array>

class CDelayPanel;
class CSpinButton;
class COutputNavBar;
class CXBmpSlider;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// Control ids of the rows (channel 0..7 added), which key the captions in the language tables.
enum DelayDlgIds : int
{
    IDC_DELAY_SWITCH = 1100,
    IDC_DELAY_HIGH_FREQ = 1110,
    IDC_DELAY_CHANNEL = 1120,
    IDC_DELAY_CAPTION = 1130,
    IDC_DELAY_EDIT = 1140,
    IDC_DELAY_SPIN = 1150,
    IDC_DELAY_SPLIT = 1160,
    IDC_DELAY_SPLIT_TEXT = 1170,
    IDC_DELAY_CHART = 1180,
};

class CDelayDlg : public CPageBase
{
    Q_OBJECT

public:
    // `shell` may be null (tests): the page then has no navigation to other pages.
    explicit CDelayDlg(PageShell* shell, QWidget* parent = nullptr);
    ~CDelayDlg() override;

    PageKind Kind() const override { return PageKind::Delay; }
    // Loads every row and the chart from the stores; writes nothing.
    void Refresh() override;
    void Relabel() override;

    // A spin button press on a row: one step of 0.1 ms up (+1) or down (-1).
    void StepDelay(int channel, int delta);

    CDelayPanel* Chart() const { return chart_; }
    QCheckBox* SwitchBox(int ch) const { return rows_[Index(ch)].on; }
    QRadioButton* HighFreqRadio(int ch) const { return rows_[Index(ch)].highFreq; }
    QRadioButton* ChannelRadio(int ch) const { return rows_[Index(ch)].channel; }
    CXBmpSlider* SplitSlider(int ch) const { return rows_[Index(ch)].split; }
    QLabel* SplitText(int ch) const { return rows_[Index(ch)].splitText; }
    QLabel* Caption(int ch) const { return rows_[Index(ch)].caption; }
    QLineEdit* DelayEdit(int ch) const { return rows_[Index(ch)].edit; }
    CSpinButton* Spin(int ch) const { return rows_[Index(ch)].spin; }
    COutputNavBar* NavBar() const { return nav_; }

    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Row
    {
        QLabel* caption = nullptr;
        QCheckBox* on = nullptr;
        QRadioButton* highFreq = nullptr;
        QRadioButton* channel = nullptr;
        QButtonGroup* modes = nullptr;
        CXBmpSlider* split = nullptr;
        QLabel* splitText = nullptr;
        QLineEdit* edit = nullptr;
        CSpinButton* spin = nullptr;
    };

    static size_t Index(int ch) { return static_cast<size_t>(ch); }
    void BuildRow(int ch);
    void LoadRow(int ch);
    void EnableRow(int ch);
    // Limits, shows and (when changed) sends a channel's new delay.
    void ChangeDelay(int ch, double ms, bool focusEdit);
    void OnSwitch(int ch, bool on);
    void OnMode(int ch, int mode);
    void OnSplit(int ch, int step);
    void ShowSplit(int ch, int step);
    void LayOut();
    // The room the navigation bar takes along the top.
    int NavHeight() const;

    PageShell* shell_;
    DialogTextBinder texts_;
    COutputNavBar* nav_ = nullptr;
    CDelayPanel* chart_ = nullptr;
    std::array<Row, kDelayChannelCount> rows_{};
};
