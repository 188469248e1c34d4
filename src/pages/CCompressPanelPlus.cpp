#include "pages/CCompressPanelPlus.h"

#include "pages/CompressPlotGeometry.h"
#include "pages/PageLook.h"

#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>

#include <cmath>

namespace {
const QColor kPlotColour(20, 34, 52);
const QColor kGridColour(62, 84, 110);
const QColor kLabelColour(40, 60, 90);
const QColor kUnityColour(110, 130, 150);
const QColor kCurveColour(90, 230, 120);
const QColor kBandColour(255, 190, 60, 60);
const QColor kDotColour(255, 200, 70);
const QColor kOffColour(235, 80, 80);
} // namespace

CCompressPanelPlus::CCompressPanelPlus(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CCompressPanelPlus::CurveChanged()
{
    curveValid_ = false;
    update();
}

void CCompressPanelPlus::SetWorking(bool working)
{
    if (working != working_) {
        working_ = working;
        CurveChanged();
    }
}

void CCompressPanelPlus::SetThreshold(float thresholdDb)
{
    if (!(thresholdDb == threshold_)) {
        threshold_ = thresholdDb;
        CurveChanged();
    }
}

void CCompressPanelPlus::SetRatio(float ratio)
{
    const float slope = 1.0f / ratio;
    if (!(slope == slope_)) {
        slope_ = slope;
        CurveChanged();
    }
}

void CCompressPanelPlus::BuildGrid()
{
    const qreal ratio = devicePixelRatioF();
    grid_ = QPixmap(size() * ratio);
    grid_.setDevicePixelRatio(ratio);
    grid_.fill(kPageBackground);
    QPainter p(&grid_);
    QFont f = font();
    f.setPixelSize(kCompPlotLabelPixels);
    p.setFont(f);
    const QFontMetricsF fm(f);
    const CompPlotSquare s = CompPlotSquareOf(width(), height());
    const QRectF plot(s.left, s.top, s.side, s.side);
    p.fillRect(plot, kPlotColour);

    // Along x: -90, -70, -50, -30, -10 and 6 dB; up y: +6, 0, -10 .. -90 dB.
    const double xs[] = {-90.0, -70.0, -50.0, -30.0, -10.0, 6.0};
    int line = 0;
    for (double db : xs) {
        const double x = CompPlotX(s, db);
        p.setPen(QPen(kGridColour, 1.0, Qt::DotLine));
        p.drawLine(QPointF(x, s.top), QPointF(x, s.top + s.side));
        const QString label = QStringLiteral("%1dB").arg(static_cast<int>(db));
        const double w = fm.horizontalAdvance(label);
        const double lx = std::clamp(x - w / 2.0, 0.0, width() - w);
        p.setPen(kLabelColour);
        p.drawText(QPointF(lx, s.top + s.side + fm.ascent() + 2.0 + line * fm.height()), label);
        line = 1 - line;
    }
    for (int db = 6; db >= -90; db = db == 6 ? 0 : db - 10) {
        const double y = CompPlotY(s, db);
        p.setPen(QPen(kGridColour, 1.0, Qt::DotLine));
        p.drawLine(QPointF(s.left, y), QPointF(s.left + s.side, y));
        const QString label =
            db > 0 ? QStringLiteral("+%1dB").arg(db) : QStringLiteral("%1dB").arg(db);
        const double w = fm.horizontalAdvance(label);
        // +6 dB sits above its line and 0 dB below it: the two are only 6 dB apart.
        const double centred = y + fm.ascent() / 2.0 - 1.0;
        const double ly = db == 6 ? y : db == 0 ? y + fm.ascent() : centred;
        p.setPen(kLabelColour);
        p.drawText(QPointF(s.left - w - 3.0, ly), label);
    }
    p.setPen(kGridColour);
    p.setBrush(Qt::NoBrush);
    p.drawRect(plot.adjusted(0, 0, -1, -1));
    gridValid_ = true;
    ++gridBuilds_;
}

void CCompressPanelPlus::BuildCurve()
{
    const qreal ratio = devicePixelRatioF();
    curve_ = QPixmap(size() * ratio);
    curve_.setDevicePixelRatio(ratio);
    curve_.fill(Qt::transparent);
    QPainter p(&curve_);
    p.setRenderHint(QPainter::Antialiasing);
    const CompPlotSquare s = CompPlotSquareOf(width(), height());
    const QRectF plot(s.left, s.top, s.side, s.side);
    p.setClipRect(plot);
    const double t = CompPlotThreshold(threshold_);
    const double slope = CompPlotSlope(slope_);

    // The band above the threshold.
    const double tx = CompPlotX(s, t);
    p.fillRect(QRectF(QPointF(tx, s.top), QPointF(s.left + s.side, s.top + s.side)), kBandColour);

    // Unity line for reference, then the curve.
    p.setPen(QPen(kUnityColour, 1.0, Qt::DashLine));
    p.drawLine(QPointF(CompPlotX(s, kCompPlotMinDb), CompPlotY(s, kCompPlotMinDb)),
               QPointF(CompPlotX(s, kCompPlotMaxDb), CompPlotY(s, kCompPlotMaxDb)));
    const QColor curveColour = working_ ? kCurveColour : kUnityColour;
    QPainterPath path(QPointF(CompPlotX(s, kCompPlotMinDb), CompPlotY(s, kCompPlotMinDb)));
    path.lineTo(CompPlotX(s, t), CompPlotY(s, t));
    path.lineTo(CompPlotX(s, kCompPlotMaxDb),
                CompPlotY(s, CompCurveOutput(kCompPlotMaxDb, t, slope)));
    p.setPen(QPen(curveColour, 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(working_ ? kDotColour : kUnityColour);
    p.drawEllipse(QPointF(CompPlotX(s, t), CompPlotY(s, t)), 4.0, 4.0);

    if (!working_) {
        QFont f = font();
        f.setPixelSize(std::max(12, static_cast<int>(s.side / 5.0)));
        f.setBold(true);
        p.setFont(f);
        p.setPen(kOffColour);
        p.drawText(plot, Qt::AlignCenter, QStringLiteral("OFF"));
    }
    curveValid_ = true;
    ++curveBuilds_;
}

void CCompressPanelPlus::paintEvent(QPaintEvent*)
{
    const QSize pixels = size() * devicePixelRatioF();
    if (!gridValid_ || grid_.size() != pixels) {
        BuildGrid();
    }
    if (!curveValid_ || curve_.size() != pixels) {
        BuildCurve();
    }
    QPainter p(this);
    p.drawPixmap(0, 0, grid_);
    p.drawPixmap(0, 0, curve_);
}

void CCompressPanelPlus::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    gridValid_ = false;
    curveValid_ = false;
}
