#include "controls/CXBmpSlider.h"

#include "controls/CGdiPlusBitmapResource.h"
#include "controls/PictureDraw.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

namespace {

// Sizes used when a picture is missing: a channel the length of a page's slider and a
// thumb that fits the standard margins.
constexpr QSize kPlainChannelHorizontal{120, 22};
constexpr QSize kPlainChannelVertical{22, 130};
constexpr QSize kPlainThumbHorizontal{13, 17};
constexpr QSize kPlainThumbVertical{17, 13};

QImage LoadPicture(int number, qreal ratio)
{
    if (number < 0)
        return {};
    return CGdiPlusBitmapResource(number, ratio).Image();
}

QSize LogicalSize(const QImage& image)
{
    return image.deviceIndependentSize().toSize();
}

} // namespace

CXBmpSlider::CXBmpSlider(QWidget* parent, int controlId) : QWidget(parent), controlId_(controlId)
{
    geometry_.minimum = 0;
    geometry_.maximum = 127;
    // Tab reaches the slider; a click gives it the focus only while it is enabled, which the
    // press handler does itself.
    setFocusPolicy(Qt::TabFocus);
}

CXBmpSlider::~CXBmpSlider() = default;

void CXBmpSlider::SetupHorizontal()
{
    SetVertical(false);
    SetBitmapChannel(324);
    SetBitmapThumb(320, 369, 325);
    SetMargins(7, 7, 3, 2);
    SetBackgroundColor(QColor(240, 250, 255));
}

void CXBmpSlider::SetupVertical()
{
    SetVertical(true);
    SetBitmapChannel(448);
    SetBitmapThumb(449, 447, 450);
    SetMargins(3, 2, 7, 7);
    SetBackgroundColor(QColor(240, 250, 255));
}

void CXBmpSlider::SetRange(int minimum, int maximum)
{
    geometry_.minimum = minimum;
    geometry_.maximum = std::max(maximum, minimum);
    position_ = ClampSliderPosition(geometry_, position_);
    update();
}

void CXBmpSlider::SetPos(int position)
{
    position_ = ClampSliderPosition(geometry_, position);
    update();
}

void CXBmpSlider::SetSliderEnabled(bool enabled)
{
    enabled_ = enabled;
    if (!enabled_)
        dragging_ = false;
    update();
}

void CXBmpSlider::SetMargins(int left, int right, int top, int bottom)
{
    geometry_.marginLeft = left;
    geometry_.marginRight = right;
    geometry_.marginTop = top;
    geometry_.marginBottom = bottom;
    update();
}

bool CXBmpSlider::SetBitmapChannel(int channelNumber, int fillNumber)
{
    channelNumber_ = channelNumber;
    fillNumber_ = fillNumber < 0 ? channelNumber : fillNumber;
    ReloadPictures();
    FitToChannel();
    update();
    return !channel_.isNull();
}

bool CXBmpSlider::SetBitmapThumb(int normalNumber, int focusedNumber, int disabledNumber)
{
    thumbNumbers_[ThumbNormal] = normalNumber;
    thumbNumbers_[ThumbFocused] = focusedNumber;
    thumbNumbers_[ThumbDisabled] = disabledNumber;
    ReloadPictures();
    update();
    return std::none_of(std::begin(thumbs_), std::end(thumbs_),
                        [](const QImage& image) { return image.isNull(); });
}

void CXBmpSlider::SetChannelSize(const QSize& size)
{
    channelSize_ = size.isEmpty() ? QSize() : size;
    FitToChannel();
    update();
}

void CXBmpSlider::SetVertical(bool vertical)
{
    geometry_.vertical = vertical;
    FitToChannel();
    update();
}

void CXBmpSlider::FitToChannel()
{
    updateGeometry();
    // A slider nobody has sized (or that still has the size given here) takes the channel's
    // size; one that a page or layout has sized keeps it.
    if (!testAttribute(Qt::WA_Resized) || size() == autoSize_) {
        resize(sizeHint());
        autoSize_ = size();
    }
}

void CXBmpSlider::SetBackgroundColor(const QColor& color)
{
    background_ = color;
    update();
}

CXBmpSlider::Thumb CXBmpSlider::CurrentThumb() const
{
    if (!enabled_ || !isEnabled())
        return ThumbDisabled;
    return focused_ ? ThumbFocused : ThumbNormal;
}

void CXBmpSlider::ReloadPictures()
{
    // Only 1x and 2x artwork exist; anything denser uses the 2x pictures.
    loadedRatio_ = devicePixelRatioF() > 1.0 ? 2.0 : 1.0;
    channel_ = LoadPicture(channelNumber_, loadedRatio_);
    fill_ = fillNumber_ == channelNumber_ ? channel_ : LoadPicture(fillNumber_, loadedRatio_);
    for (int i = 0; i < ThumbCount; ++i)
        thumbs_[i] = LoadPicture(thumbNumbers_[i], loadedRatio_);
}

QSize CXBmpSlider::ChannelSize() const
{
    if (channelSize_.isValid())
        return channelSize_;
    if (!channel_.isNull())
        return LogicalSize(channel_);
    if (!size().isEmpty() && testAttribute(Qt::WA_Resized))
        return size();
    return geometry_.vertical ? kPlainChannelVertical : kPlainChannelHorizontal;
}

QSize CXBmpSlider::ThumbSize() const
{
    if (!thumbs_[ThumbNormal].isNull())
        return LogicalSize(thumbs_[ThumbNormal]);
    return geometry_.vertical ? kPlainThumbVertical : kPlainThumbHorizontal;
}

SliderGeometry CXBmpSlider::Geometry() const
{
    SliderGeometry g = geometry_;
    const QSize channel = ChannelSize();
    const QSize thumb = ThumbSize();
    g.width = channel.width();
    g.height = channel.height();
    g.thumbWidth = thumb.width();
    g.thumbHeight = thumb.height();
    return g;
}

QSize CXBmpSlider::sizeHint() const
{
    if (channelSize_.isValid())
        return channelSize_;
    if (!channel_.isNull())
        return LogicalSize(channel_);
    return geometry_.vertical ? kPlainChannelVertical : kPlainChannelHorizontal;
}

void CXBmpSlider::Step(int delta)
{
    const long long moved = static_cast<long long>(position_) + delta;
    position_ = static_cast<int>(std::clamp(moved, static_cast<long long>(geometry_.minimum),
                                            static_cast<long long>(geometry_.maximum)));
    update();
}

void CXBmpSlider::PostMoved()
{
    QMetaObject::invokeMethod(
        this, [this, id = controlId_, pos = position_] { emit SliderMoved(id, pos); },
        Qt::QueuedConnection);
}

void CXBmpSlider::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    if (!enabled_)
        return;
    setFocus(Qt::MouseFocusReason);
    const SliderGeometry g = Geometry();
    const QPoint at = event->position().toPoint();
    if (SliderThumbAt(g, position_).Contains(at.x(), at.y()))
        dragging_ = true; // the thumb stays where it is until the pointer moves
    else
        Step(SliderTrackStep(g, position_, at.x(), at.y()));
    PostMoved();
}

void CXBmpSlider::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    position_ = SliderPositionFromPointer(Geometry(), at.x(), at.y());
    update();
    PostMoved();
}

void CXBmpSlider::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        dragging_ = false;
    QWidget::mouseReleaseEvent(event);
}

void CXBmpSlider::keyPressEvent(QKeyEvent* event)
{
    if (!enabled_) {
        event->ignore();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Right:
        Step(+1);
        PostMoved();
        event->accept();
        return;
    case Qt::Key_Down:
    case Qt::Key_Left:
        Step(-1);
        PostMoved();
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void CXBmpSlider::wheelEvent(QWheelEvent* event)
{
    const QPoint angle = event->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    // The wheel belongs to the control with the focus: over an unfocused slider the message
    // is left to the page, which hands it to its focused control.
    if (!enabled_ || !hasFocus() || delta == 0) {
        event->ignore();
        return;
    }
    Step(delta > 0 ? +1 : -1);
    PostMoved();
    event->accept();
}

void CXBmpSlider::focusInEvent(QFocusEvent* event)
{
    focused_ = true;
    update();
    QMetaObject::invokeMethod(
        this, [this, id = controlId_] { emit SliderFocused(id, 0); }, Qt::QueuedConnection);
    QWidget::focusInEvent(event);
}

void CXBmpSlider::focusOutEvent(QFocusEvent* event)
{
    focused_ = false;
    update();
    QWidget::focusOutEvent(event);
}

void CXBmpSlider::DrawChannel(QPainter& p, const QImage& picture, const QRect& area,
                              bool fill) const
{
    if (!picture.isNull()) {
        // Stretch only along the track; the caps at both ends keep their shape. Across the
        // track the picture keeps its own size from the top-left corner, so the groove stays
        // lined up with the thumb, which the margins place from that corner too.
        const QSize size = LogicalSize(picture);
        const int longSide = geometry_.vertical ? size.height() : size.width();
        const int cap = std::min(longSide / 3, 12);
        const QMargins border =
            geometry_.vertical ? QMargins(0, cap, 0, cap) : QMargins(cap, 0, cap, 0);
        const QRect target = geometry_.vertical
                                 ? QRect(area.left(), area.top(), size.width(), area.height())
                                 : QRect(area.left(), area.top(), area.width(), size.height());
        DrawNineSlice(p, target, picture, border);
        return;
    }
    // No picture: a plain groove along the thumb's travel.
    const SliderGeometry g = Geometry();
    QRectF groove;
    if (g.vertical) {
        const qreal cx = g.marginLeft + g.thumbWidth / 2.0;
        groove =
            QRectF(cx - 2.5, g.marginTop + 2.0, 5.0, g.height - g.marginTop - g.marginBottom - 4.0);
    } else {
        const qreal cy = g.marginTop + g.thumbHeight / 2.0;
        groove =
            QRectF(g.marginLeft + 2.0, cy - 2.5, g.width - g.marginLeft - g.marginRight - 4.0, 5.0);
    }
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QColor(20, 28, 40));
    p.setBrush(fill ? QColor(40, 140, 230) : QColor(46, 56, 72));
    p.drawRoundedRect(groove, 2.5, 2.5);
}

void CXBmpSlider::DrawPlainThumb(QPainter& p, const QRect& r, Thumb which) const
{
    const QRectF body = QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient shade(body.topLeft(), geometry_.vertical ? body.topRight() : body.bottomLeft());
    const bool disabled = which == ThumbDisabled;
    shade.setColorAt(0.0, disabled ? QColor(190, 194, 200) : QColor(96, 108, 128));
    shade.setColorAt(1.0, disabled ? QColor(160, 164, 170) : QColor(44, 52, 66));
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(disabled ? QColor(130, 134, 140) : QColor(16, 22, 32));
    p.setBrush(shade);
    p.drawRoundedRect(body, 2.0, 2.0);
    const QColor mark = disabled                ? QColor(120, 124, 130)
                        : which == ThumbFocused ? QColor(80, 200, 255)
                                                : QColor(230, 236, 244);
    p.setPen(QPen(mark, 1.5));
    const QPointF c = body.center();
    if (geometry_.vertical)
        p.drawLine(QPointF(body.left() + 3, c.y()), QPointF(body.right() - 3, c.y()));
    else
        p.drawLine(QPointF(c.x(), body.top() + 3), QPointF(c.x(), body.bottom() - 3));
}

void CXBmpSlider::paintEvent(QPaintEvent*)
{
    // A move to a screen of another density needs the other artwork.
    if ((devicePixelRatioF() > 1.0 ? 2.0 : 1.0) != loadedRatio_)
        ReloadPictures();

    // Widgets are painted into Qt's backing store, which is the off-screen buffer.
    QPainter p(this);
    const SliderGeometry g = Geometry();
    const QRect area(0, 0, g.width, g.height);
    // In the page's own colour the slider lets what lies under it show instead (a group box
    // draws its inside a shade darker), so it never stands out as a lighter rectangle.
    const QWidget* under = parentWidget();
    if (!under || under->palette().color(QPalette::Window) != background_) {
        p.fillRect(area, background_);
    }
    p.setClipRect(area);
    DrawChannel(p, channel_, area, false);

    const SliderThumbRect thumb = SliderThumbAt(g, position_);
    {
        // The fill covers the low side: left of the thumb, or below the thumb's top edge.
        p.save();
        const QRect low = g.vertical ? QRect(0, thumb.y, g.width, g.height - thumb.y)
                                     : QRect(0, 0, thumb.x, g.height);
        p.setClipRect(low, Qt::IntersectClip);
        DrawChannel(p, fill_, area, true);
        p.restore();
    }

    const Thumb which = CurrentThumb();
    const QRect thumbRect(thumb.x, thumb.y, thumb.width, thumb.height);
    const QImage& picture = thumbs_[which];
    if (!picture.isNull())
        p.drawImage(thumbRect.topLeft(), picture);
    else if (which == ThumbFocused && !thumbs_[ThumbNormal].isNull())
        p.drawImage(thumbRect.topLeft(), thumbs_[ThumbNormal]);
    else
        DrawPlainThumb(p, thumbRect, which);
}
