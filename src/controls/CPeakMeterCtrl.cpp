#include "controls/CPeakMeterCtrl.h"

#include <QPainter>
#include <QPalette>

#include <algorithm>

CPeakMeterCtrl::CPeakMeterCtrl(QWidget* parent) : QWidget(parent)
{
    background_ = palette().color(QPalette::Button);
    // A precise timer keeps short periods (the input page uses 35 ms) even.
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(period_);
    connect(&timer_, &QTimer::timeout, this, &CPeakMeterCtrl::Tick);
}

CPeakMeterCtrl::~CPeakMeterCtrl()
{
    timer_.stop();
}

void CPeakMeterCtrl::SetBandCount(int bands)
{
    model_.SetBandCount(bands);
    update();
}

void CPeakMeterCtrl::SetSegmentCount(int segments)
{
    model_.SetSegmentCount(segments);
    update();
}

void CPeakMeterCtrl::Start(int periodMs)
{
    period_ = std::max(periodMs, 1);
    started_ = true;
    if (running_)
        return;
    running_ = true;
    timer_.setInterval(period_);
    if (isVisible())
        timer_.start();
}

void CPeakMeterCtrl::Stop()
{
    started_ = false;
    running_ = false;
    timer_.stop();
}

void CPeakMeterCtrl::Restart()
{
    running_ = true;
    timer_.setInterval(period_);
    if (isVisible())
        timer_.start(); // restarts a running timer from now
}

void CPeakMeterCtrl::SetData(int value, int band)
{
    SetData(std::span<const int>(&value, 1), band);
}

void CPeakMeterCtrl::SetData(std::span<const int> values, int firstBand)
{
    model_.SetData(values, firstBand);
    if (started_)
        Restart();
    else
        update();
}

void CPeakMeterCtrl::SetBackgroundColor(const QColor& color)
{
    background_ = color;
    update();
}

void CPeakMeterCtrl::Tick()
{
    update();
    if (!model_.Tick()) {
        running_ = false;
        timer_.stop();
    }
}

void CPeakMeterCtrl::showEvent(QShowEvent* event)
{
    if (running_ && !timer_.isActive())
        timer_.start(period_);
    QWidget::showEvent(event);
}

void CPeakMeterCtrl::hideEvent(QHideEvent* event)
{
    // Nothing to animate while hidden; running_ remembers to resume.
    timer_.stop();
    QWidget::hideEvent(event);
}

QColor CPeakMeterCtrl::SegmentColor(PeakSegmentColor color, bool lit)
{
    switch (color) {
    case PeakSegmentColor::Green:
        return lit ? QColor(0, 255, 0) : QColor(2, 60, 2);
    case PeakSegmentColor::Yellow:
        return lit ? QColor(255, 255, 0) : QColor(60, 60, 2);
    case PeakSegmentColor::Red:
        break;
    }
    return lit ? QColor(255, 0, 0) : QColor(60, 2, 2);
}

void CPeakMeterCtrl::paintEvent(QPaintEvent*)
{
    // Painted into Qt's backing store, the off-screen buffer of the widget.
    QPainter p(this);
    p.fillRect(rect(), background_);
    const int n = model_.DrawnSegments();
    const int bands = model_.BandCount();
    const int segmentWidth = width() / n;
    const int bandHeight = height() / bands;
    const int top = height() % bands;
    const int gapLeft = n > 1 ? 1 : 0;
    const int gapRows = bands > 1 ? 1 : 0;
    for (int b = 0; b < bands; ++b) {
        const int y = top + b * bandHeight;
        const int lit = model_.LitSegments(b);
        for (int i = 0; i < n; ++i) {
            const QRect segment(i * segmentWidth + gapLeft, y + gapRows, segmentWidth - gapLeft,
                                bandHeight - 2 * gapRows);
            if (!segment.isEmpty())
                p.fillRect(segment, SegmentColor(model_.ColorOf(i), i < lit));
        }
    }
}
