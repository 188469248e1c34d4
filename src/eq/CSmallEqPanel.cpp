#include "eq/CSmallEqPanel.h"

#include "dsp/Biquad.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kMajorGains[] = {-15, -12, -9, -6, -3, 0, 3, 6, 9, 12, 15};
constexpr int kGridFreqs[] = {10,   20,   30,   40,   50,   60,   70,   80,    90,   100,
                              200,  300,  400,  500,  600,  700,  800,  900,   1000, 2000,
                              3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 20000};
constexpr float kStartFreqs[kSmallEqBands] = {31, 62, 125, 250, 500, 1000, 2000};

double PowerDb(double v)
{
    return 10.0 * std::log10(std::max(v, 1e-30));
}

// Magnitude in dB of a section at f, the same expression as the large panel's curve.
double MagnitudeDb(const BiquadCoefs& c, double f)
{
    const double s = std::sin(kPi * f / kSampleRate);
    const double phi = s * s;
    const double b0 = c.b0, b1 = c.b1, b2 = c.b2, a1 = c.a1, a2 = c.a2;
    const double num = (b0 + b1 + b2) * (b0 + b1 + b2) -
                       4.0 * (b0 * b1 + 4.0 * b0 * b2 + b1 * b2) * phi + 16.0 * b0 * b2 * phi * phi;
    const double den = (1.0 + a1 + a2) * (1.0 + a1 + a2) - 4.0 * (a1 + 4.0 * a2 + a1 * a2) * phi +
                       16.0 * a2 * phi * phi;
    return PowerDb(num) - PowerDb(den);
}
} // namespace

CSmallEqPanel::CSmallEqPanel(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_Hover);
    setMouseTracking(true);
    passFont_.setFamilies({"黑体", "SimHei", "WenQuanYi Micro Hei", "Noto Sans CJK SC"});
    passFont_.setPixelSize(32);
    for (int i = 0; i < kSmallEqBands; ++i) {
        bands_[static_cast<size_t>(i)].freq = kStartFreqs[i];
    }
    axes_.plot = EqPlotRect{2, 2, width() - 2, height() - 2};
    for (int i = 0; i < kSmallEqBands; ++i) {
        ComputeBand(i);
    }
    RebuildCurve();
}

SmallEqBand& CSmallEqPanel::Band(int i)
{
    return bands_[static_cast<size_t>(std::clamp(i, 0, kSmallEqBands - 1))];
}

const SmallEqBand& CSmallEqPanel::Band(int i) const
{
    return bands_[static_cast<size_t>(std::clamp(i, 0, kSmallEqBands - 1))];
}

void CSmallEqPanel::SetSmallBandFreq(int band, double freqHz)
{
    if (band < 0 || band >= kSmallEqBands || !std::isfinite(freqHz) ||
        std::fabs(freqHz) < 0.0000001) {
        return;
    }
    bands_[static_cast<size_t>(band)].freq = static_cast<float>(std::clamp(freqHz, 20.0, 20000.0));
    UpdateSmallBand(band);
}

void CSmallEqPanel::SetSmallBandGain(int band, double gainDb)
{
    if (band < 0 || band >= kSmallEqBands) {
        return;
    }
    if (!std::isfinite(gainDb)) {
        gainDb = 0.0;
    }
    bands_[static_cast<size_t>(band)].gain = static_cast<float>(std::clamp(gainDb, -15.0, 15.0));
    UpdateSmallBand(band);
}

void CSmallEqPanel::UpdateSmallBand(int band)
{
    if (band < 0 || band >= kSmallEqBands) {
        return;
    }
    ComputeBand(band);
    RebuildCurve();
    update();
}

void CSmallEqPanel::ComputeBand(int band)
{
    SmallEqBand& b = bands_[static_cast<size_t>(band)];
    const EqPlotRect& r = axes_.plot;
    const double w = r.Width();
    for (int u = 0; u < kSmallEqPoints; ++u) {
        double db = 0.0;
        if (b.type != 0 && w > 0) {
            // LP and HP carry no gain factor here.
            const double gain = (b.type == 2 || b.type == 3) ? 0.0 : static_cast<double>(b.gain);
            const BiquadCoefs c =
                DesignBiquad(b.type, gain, static_cast<double>(b.freq), static_cast<double>(b.q));
            const double xu = r.left + u * w / kSmallEqPoints;
            const double fu =
                std::trunc(10.0 * std::pow(10.0, 3.4 * (std::trunc(xu) - r.left) / w));
            db = MagnitudeDb(c, fu);
        }
        b.pointY[static_cast<size_t>(u)] = static_cast<float>(axes_.GainToY(db));
    }
}

void CSmallEqPanel::RebuildCurve()
{
    const EqPlotRect& r = axes_.plot;
    const double w = r.Width();
    for (int u = 0; u < kSmallEqPoints; ++u) {
        double sum = 0.0;
        for (const SmallEqBand& b : bands_) {
            const double db = axes_.YToGain(static_cast<double>(b.pointY[static_cast<size_t>(u)]));
            sum += std::trunc(db * 10.0 + 0.5) / 10.0;
        }
        sumDb_[static_cast<size_t>(u)] = sum;
        curve_[static_cast<size_t>(u)] =
            QPointF(r.left + u * w / kSmallEqPoints, axes_.GainToY(sum));
    }
}

double CSmallEqPanel::SumDb(int u) const
{
    return sumDb_[static_cast<size_t>(std::clamp(u, 0, kSmallEqPoints - 1))];
}

void CSmallEqPanel::SetCurveColour(const QColor& c)
{
    curveColour_ = c;
    update();
}

void CSmallEqPanel::SetBackgroundColour(const QColor& c)
{
    backgroundColour_ = c;
    background_ = QPixmap();
    update();
}

void CSmallEqPanel::SetBypass(bool on)
{
    bypass_ = on;
    update();
}

void CSmallEqPanel::resizeEvent(QResizeEvent*)
{
    axes_.plot = EqPlotRect{2, 2, width() - 2, height() - 2};
    for (int i = 0; i < kSmallEqBands; ++i) {
        ComputeBand(i);
    }
    RebuildCurve();
    update();
}

const QPixmap& CSmallEqPanel::Background()
{
    const qreal dpr = devicePixelRatioF();
    const QSize px = (QSizeF(size()) * dpr).toSize();
    if (!background_.isNull() && background_.size() == px &&
        qFuzzyCompare(background_.devicePixelRatio(), dpr)) {
        return background_;
    }
    background_ = QPixmap(px);
    background_.setDevicePixelRatio(dpr);
    background_.fill(backgroundColour_);
    QPainter p(&background_);
    const EqPlotRect& r = axes_.plot;
    p.setPen(QPen(QColor(23, 23, 23), 1));
    for (int g = -15; g <= 15; ++g) {
        const int y = static_cast<int>(axes_.GainToY(g));
        p.drawLine(r.left, y, r.right, y);
    }
    for (int g : kMajorGains) {
        const int y = static_cast<int>(axes_.GainToY(g));
        p.setPen(QPen(std::abs(g) == 15 ? QColor(128, 128, 128) : QColor(64, 64, 64), 1));
        p.drawLine(r.left, y, r.right, y);
    }
    p.setPen(QPen(QColor(64, 64, 64), 1));
    for (int f : kGridFreqs) {
        const int x = static_cast<int>(axes_.FreqToX(f));
        p.drawLine(x, r.top, x, r.bottom);
    }
    return background_;
}

void CSmallEqPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawPixmap(0, 0, Background());
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(curveColour_, 1.7));
    p.drawPolyline(curve_.data(), kSmallEqPoints);
    if (bypass_) {
        p.setFont(passFont_);
        p.setPen(passColour_);
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("PASS"));
    }
    if (hovered_ && isEnabled()) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(frameColour_, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(0, 0, width() - 1, height() - 1));
    }
}

void CSmallEqPanel::enterEvent(QEnterEvent*)
{
    if (!hovered_ && isEnabled()) {
        hovered_ = true;
        update();
    }
}

void CSmallEqPanel::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::EnabledChange) {
        return;
    }
    // A disabled panel takes no clicks: no hover frame and no hand over it.
    if (!isEnabled()) {
        if (testAttribute(Qt::WA_SetCursor) && !cursorKept_) {
            keptCursor_ = cursor();
            cursorKept_ = true;
        }
        setCursor(Qt::ArrowCursor);
        hovered_ = false;
    } else if (cursorKept_) {
        setCursor(keptCursor_);
        cursorKept_ = false;
    }
    update();
}

void CSmallEqPanel::leaveEvent(QEvent*)
{
    hovered_ = false;
    update();
}

void CSmallEqPanel::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
}

void CSmallEqPanel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) {
        emit Clicked();
    }
}
