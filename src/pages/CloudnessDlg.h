#pragma once
// The features window: mic boost, the music low-frequency path (low-pass frequency, delay and
// gain), music AGC with the current music input level, and the automatic Sub decay. Every
// control stores and writes at once; refreshing writes nothing. A modeless tool window.

#include "app/PageRegistry.h"
#include "pages/DialogTextBinder.h"

#include <QTimer>

#include <array>

class CXBmpSlider;
class QCheckBox;
class QLabel;

// Control ids of the window's captions in the language table (dialog 457).
enum FeaturesIds : int
{
    IDC_FEAT_BOOST_GROUP = 1451,
    IDC_FEAT_MUSIC_GROUP = 1452,
    IDC_FEAT_AGC_GROUP = 1453,
    IDC_FEAT_SUB_GROUP = 1454,
    IDC_FEAT_BOOST_ON = 1455,
    IDC_FEAT_LPF_FREQ_CAPTION = 1456,
    IDC_FEAT_LPF_DELAY_CAPTION = 1457,
    IDC_FEAT_LPF_GAIN_CAPTION = 1458,
    IDC_FEAT_AGC_ON = 1459,
    IDC_FEAT_AGC_NOTE = 1460,
    IDC_FEAT_AGC_LEVEL_CAPTION = 1461,
    IDC_FEAT_MUSIC_LEVEL_CAPTION = 1462,
    IDC_FEAT_SUB_ON = 1463,
    IDC_FEAT_SUB_CAPTION = 1464,
    IDC_FEAT_SUB_NOTE = 1465,
    IDC_FEAT_SLIDER_FIRST = 1470, // boost, LPF frequency, delay, gain, AGC level, Sub level
};

class CloudnessDlg : public CToolWindowBase
{
    Q_OBJECT

public:
    enum Slider
    {
        BOOST,
        LPF_FREQ,
        LPF_DELAY,
        LPF_GAIN,
        AGC_LEVEL,
        SUB_LEVEL,
        SLIDER_COUNT
    };
    enum Box
    {
        BOOST_ON,
        AGC_ON,
        SUB_ON,
        BOX_COUNT
    };
    static constexpr int kLevelIntervalMs = 300;

    explicit CloudnessDlg(PageShell* shell, QWidget* parent = nullptr);
    ~CloudnessDlg() override;

    ToolKind Kind() const override { return ToolKind::Features; }
    // Every control from the stores; writes nothing.
    void Refresh() override;
    void Relabel() override;

    CXBmpSlider* SliderAt(Slider s) const { return sliders_[static_cast<size_t>(s)]; }
    QLabel* Value(Slider s) const { return values_[static_cast<size_t>(s)]; }
    QCheckBox* BoxAt(Box b) const { return boxes_[static_cast<size_t>(b)]; }
    QLabel* MusicLevel() const { return musicLevel_; }
    // The 300 ms update of the current music level.
    void UpdateMusicLevel();
    const QTimer& LevelTimer() const { return levelTimer_; }

private:
    void OnSliderMoved(int controlId, int position);
    void ShowAgc(int tenths, float dB);

    PageShell* shell_;
    DialogTextBinder texts_;
    std::array<CXBmpSlider*, SLIDER_COUNT> sliders_{};
    std::array<QLabel*, SLIDER_COUNT> values_{};
    std::array<QCheckBox*, BOX_COUNT> boxes_{};
    QLabel* musicLevel_ = nullptr;
    QTimer levelTimer_;
};
