#pragma once
// CPeakMeterCtrl: a row of level meters (bands), each a line of green, yellow and red
// segments that light up to the band's level and fall back at every timer tick.
//
// The meter's timer is a QTimer on the window's thread, so its ticks and SetData never run
// at the same time. It runs only while the meter is visible; hidden, it resumes when shown.
// It stops by itself once everything has fallen to zero; the next SetData starts it again.
//
// The input page's use:
//   meter->SetBandCount(1);
//   meter->SetSegmentCount(15);
//   meter->SetBackgroundColor(QColor(240, 250, 255));
//   meter->Start(35);
//   ... every status poll: meter->SetData(level);

#include "controls/PeakMeterModel.h"

#include <QColor>
#include <QTimer>
#include <QWidget>

#include <span>

class CPeakMeterCtrl : public QWidget
{
    Q_OBJECT
    // Colours a style sheet or theme may change.
    Q_PROPERTY(QColor backgroundColor READ BackgroundColor WRITE SetBackgroundColor)

public:
    static constexpr int kDefaultPeriodMs = 10;

    explicit CPeakMeterCtrl(QWidget* parent = nullptr);
    ~CPeakMeterCtrl() override;

    // Each resets the bands to full scale (see PeakMeterModel::Reset) and redraws.
    void SetBandCount(int bands);
    void SetSegmentCount(int segments);

    // Starts the periodic timer with this period unless it is running; the period is kept
    // for the restarts by SetData.
    void Start(int periodMs);
    // Stops the timer; SetData redraws at once from then on.
    void Stop();

    // One value for one band (the pages pass band 0), or values for consecutive bands. When
    // the timer was started before, it restarts with the kept period, so the next tick comes
    // one period after this call; otherwise the meter redraws at once.
    void SetData(int value, int band = 0);
    void SetData(std::span<const int> values, int firstBand = 0);

    void SetBackgroundColor(const QColor& color);
    QColor BackgroundColor() const { return background_; }

    // True while the meter is meant to tick (it actually ticks only while visible).
    bool IsTimerRunning() const { return running_; }
    bool IsTicking() const { return timer_.isActive(); }
    int Period() const { return period_; }

    const PeakMeterModel& Model() const { return model_; }
    PeakMeterModel& Model() { return model_; }

    // The segment colours, lit and unlit.
    static QColor SegmentColor(PeakSegmentColor color, bool lit);

    QSize sizeHint() const override { return {96, 6}; }

public slots:
    // One timer period: redraw, let the values fall, stop when everything has fallen.
    void Tick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Restart();

    PeakMeterModel model_;
    QTimer timer_;
    int period_ = kDefaultPeriodMs;
    bool started_ = false; // Start was called at some time
    bool running_ = false;
    QColor background_;
};
