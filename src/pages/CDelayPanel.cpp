#include "pages/CDelayPanel.h"

#include "dsp/DelayControl.h"
#include "pages/DelayPageTexts.h"
#include "pages/PageLook.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {
const QColor kPlotColour(255, 255, 255);
const QColor kFrameColour(120, 150, 180);
const QColor kGridColour(205, 220, 235);
const QColor kRowColour(225, 235, 245);
const QColor kTextColour(40, 60, 90);
const QColor kMarkerColour(20, 150, 60);
const QColor kDragColour(230, 120, 20);
constexpr int kMarkerSize = 16;
} // namespace

CDelayPanel::CDelayPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("delayPanel"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    delays_.fill(kDelayMinMs);
    BuildMarker();
}

void CDelayPanel::SetValue(int channel, double ms)
{
    if (channel < 0 || channel >= kDelayChartRows) {
        return;
    }
    const float v = LimitDelayMs(ms);
    if (delays_[static_cast<size_t>(channel)] != v) {
        delays_[static_cast<size_t>(channel)] = v;
        update();
    }
}

float CDelayPanel::Value(int channel) const
{
    return channel >= 0 && channel < kDelayChartRows ? delays_[static_cast<size_t>(channel)] : 0.0f;
}

void CDelayPanel::SetLanguage(int language)
{
    if (language != language_) {
        language_ = language;
        layerValid_ = false;
        update();
    }
}

QPointF CDelayPanel::MarkerCentre(int channel) const
{
    const DelayChartArea a = Area();
    return {DelayChartX(a, Value(channel)), DelayChartRowY(a, channel)};
}

void CDelayPanel::BuildMarker()
{
    // A pin: a filled circle with a short stem, on a transparent ground.
    const qreal ratio = devicePixelRatioF();
    marker_ = QImage(QSize(kMarkerSize, kMarkerSize) * ratio, QImage::Format_ARGB32_Premultiplied);
    marker_.setDevicePixelRatio(ratio);
    marker_.fill(Qt::transparent);
    QPainter p(&marker_);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kMarkerColour.darker(140), 1.2));
    p.setBrush(kMarkerColour);
    const QRectF r(1.5, 1.5, kMarkerSize - 3.0, kMarkerSize - 3.0);
    p.drawEllipse(r);
    p.setPen(QPen(Qt::white, 1.6));
    p.drawLine(QPointF(kMarkerSize / 2.0, 4.5), QPointF(kMarkerSize / 2.0, kMarkerSize - 4.5));
}

void CDelayPanel::BuildLayer()
{
    const qreal ratio = devicePixelRatioF();
    layer_ = QPixmap(size() * ratio);
    layer_.setDevicePixelRatio(ratio);
    layer_.fill(kPageBackground);
    QPainter p(&layer_);
    p.setFont(font());
    const DelayChartArea a = Area();
    const QRectF plot(a.left, a.top, a.width, a.height);
    p.fillRect(plot, kPlotColour);

    // Row bands and names.
    const double rowHeight = a.height / kDelayChartRows;
    for (int row = 0; row < kDelayChartRows; ++row) {
        const double y = DelayChartRowY(a, row);
        if (row % 2 == 1) {
            p.fillRect(QRectF(a.left, y - rowHeight / 2.0, a.width, rowHeight), kRowColour);
        }
        p.setPen(kTextColour);
        const QRectF name(2, y - rowHeight / 2.0, a.left - 8, rowHeight);
        p.drawText(name, Qt::AlignRight | Qt::AlignVCenter,
                   QString::fromUtf8(DelayChartRowName(row)[language_]));
    }

    // Time axis: a grid line and a label every 20 ms, with the axis's end at 106 ms.
    const QFontMetricsF fm(p.font());
    for (double ms = 0.0; ms <= kDelayChartMaxMs; ms += kDelayChartTickMs) {
        const double x = DelayChartX(a, ms);
        p.setPen(QPen(kGridColour, 1.0, ms == 0.0 ? Qt::SolidLine : Qt::DashLine));
        p.drawLine(QPointF(x, a.top), QPointF(x, a.top + a.height));
        p.setPen(kTextColour);
        const QString label = QString::fromStdString(DelayText(static_cast<float>(ms)));
        const double w = fm.horizontalAdvance(label);
        p.drawText(QPointF(x - w / 2.0, a.top + a.height + fm.ascent() + 3.0), label);
    }
    p.setPen(kFrameColour);
    p.setBrush(Qt::NoBrush);
    p.drawRect(plot.adjusted(0, 0, -1, -1));
    layerValid_ = true;
    ++layerBuilds_;
}

void CDelayPanel::paintEvent(QPaintEvent*)
{
    if (!layerValid_ || layer_.size() != size() * devicePixelRatioF()) {
        BuildLayer();
    }
    QPainter p(this);
    p.drawPixmap(0, 0, layer_);
    p.setRenderHint(QPainter::Antialiasing);
    const DelayChartArea a = Area();
    const QFontMetricsF fm(font());
    for (int row = 0; row < kDelayChartRows; ++row) {
        const QPointF c = MarkerCentre(row);
        if (row == dragRow_) {
            p.setPen(QPen(kDragColour, 2.0));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(c, kMarkerSize / 2.0 + 2.0, kMarkerSize / 2.0 + 2.0);
        }
        p.drawImage(QPointF(c.x() - kMarkerSize / 2.0, c.y() - kMarkerSize / 2.0), marker_);
        // The value beside the marker, on whichever side has room.
        const QString text = QString::fromStdString(DelayText(Value(row)));
        const double w = fm.horizontalAdvance(text);
        double x = c.x() + kMarkerSize / 2.0 + 4.0;
        if (x + w > a.left + a.width - 2.0) {
            x = c.x() - kMarkerSize / 2.0 - 4.0 - w;
        }
        p.setPen(kTextColour);
        p.drawText(QPointF(x, c.y() + fm.ascent() / 2.0 - 1.0), text);
    }
}

void CDelayPanel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPointF pos = event->position();
    const int row = DelayChartHit(Area(), delays_, pos.x(), pos.y());
    if (row < 0) {
        return;
    }
    dragRow_ = row;
    grabOffset_ = pos.x() - MarkerCentre(row).x();
    update();
}

void CDelayPanel::mouseMoveEvent(QMouseEvent* event)
{
    if (dragRow_ < 0 || !(event->buttons() & Qt::LeftButton)) {
        return;
    }
    const float ms = LimitDelayMs(DelayChartMs(Area(), event->position().x() - grabOffset_));
    if (ms != delays_[static_cast<size_t>(dragRow_)]) {
        delays_[static_cast<size_t>(dragRow_)] = ms;
        update();
        emit DelayDragged(dragRow_, ms);
    }
}

void CDelayPanel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && dragRow_ >= 0) {
        dragRow_ = -1;
        update();
    }
}

void CDelayPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layerValid_ = false;
}

void CDelayPanel::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::ScreenChangeInternal) {
        layerValid_ = false;
        BuildMarker();
        update();
    }
}
