#include "controls/CGdipButton.h"

#include "controls/CGdiPlusBitmapResource.h"
#include "controls/ColorMatrix.h"
#include "controls/PictureDraw.h"

#include <QCursor>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {

constexpr int Index(CGdipButton::State s)
{
    return static_cast<int>(s);
}

qreal PictureRatio(qreal deviceRatio)
{
    return deviceRatio > 1.0 ? 2.0 : 1.0;
}

QImage LoadPicture(int number, qreal ratio)
{
    if (number < 0)
        return {};
    return CGdiPlusBitmapResource(number, ratio).Image();
}

// Drawn instead of a standard picture that failed to load: a plain graphite key cap.
QImage PlainKeyCap(qreal ratio)
{
    const QSize logical(48, 24);
    QImage image(logical * static_cast<int>(ratio), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF body(0.5, 0.5, logical.width() - 1.0, logical.height() - 1.0);
    QLinearGradient shade(body.topLeft(), body.bottomLeft());
    shade.setColorAt(0.0, QColor(70, 80, 96));
    shade.setColorAt(1.0, QColor(34, 40, 50));
    p.setPen(QColor(14, 19, 27));
    p.setBrush(shade);
    p.drawRoundedRect(body, 4.0, 4.0);
    return image;
}

} // namespace

CGdipButton::CGdipButton(QWidget* parent) : QPushButton(parent)
{
    Init();
}

CGdipButton::CGdipButton(const QString& text, QWidget* parent) : QPushButton(text, parent)
{
    Init();
}

CGdipButton::~CGdipButton() = default;

void CGdipButton::Init()
{
    QFont caption;
    caption.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"),
                         QStringLiteral("NSimSun"), QStringLiteral("WenQuanYi Micro Hei")});
    caption.setPixelSize(12);
    setFont(caption);
    loadedRatio_ = PictureRatio(devicePixelRatioF());
    tooltipTimer_.setSingleShot(true);
    tooltipTimer_.setInterval(kDefaultTooltipDelayMs);
    connect(&tooltipTimer_, &QTimer::timeout, this, &CGdipButton::ShowTooltip);
    connect(this, &QAbstractButton::pressed, this, &CGdipButton::OnPressed);
}

bool CGdipButton::LoadStdImage(int number)
{
    standardNumber_ = number;
    standard_ = LoadPicture(number, loadedRatio_);
    InvalidateStatePictures();
    updateGeometry();
    update();
    return !standard_.isNull();
}

bool CGdipButton::LoadAltImage(int number)
{
    alternateNumber_ = number;
    alternate_ = LoadPicture(number, loadedRatio_);
    InvalidateStatePictures();
    update();
    return !alternate_.isNull();
}

void CGdipButton::SetTextColor(const QColor& color)
{
    textColor_ = color;
    update();
}

void CGdipButton::SetToolTipText(const QString& text)
{
    tooltipText_ = text;
    if (text.isEmpty())
        tooltipTimer_.stop();
}

void CGdipButton::SetChecked(bool checked)
{
    checked_ = checked;
    update();
}

void CGdipButton::SetDisabledLook(bool disabled)
{
    disabledLook_ = disabled;
    update();
}

CGdipButton::State CGdipButton::ChooseState(bool disabledLook, bool pressed, bool hover,
                                            bool checked)
{
    if (disabledLook)
        return State::Disabled;
    if (pressed)
        return checked ? State::CheckedPressed : State::Pressed;
    if (hover)
        return checked ? State::CheckedHot : State::Hot;
    return checked ? State::Checked : State::Normal;
}

CGdipButton::State CGdipButton::CurrentState() const
{
    return ChooseState(disabledLook_ || !isEnabled(), isDown(), hover_, checked_ && HasAltImage());
}

void CGdipButton::OnPressed()
{
    // Flipped once per press, before the pressed state is drawn.
    if (toggle_)
        checked_ = !checked_;
    update();
}

QSize CGdipButton::sizeHint() const
{
    const QFontMetrics fm(font());
    QSize hint(fm.horizontalAdvance(text()) + 16, fm.height() + 10);
    if (!standard_.isNull())
        hint = hint.expandedTo(standard_.deviceIndependentSize().toSize());
    return hint;
}

void CGdipButton::BuildStatePictures(const QSize& size, qreal ratio)
{
    ++buildCount_;
    const QImage standard = standard_.isNull() ? PlainKeyCap(loadedRatio_) : standard_;
    const QImage& alternate = alternate_.isNull() ? standard : alternate_;
    const QImage hot = ApplyBrightenMatrix(standard);
    const QImage grey = ApplyGreyMatrix(standard);
    const QImage alternateHot = ApplyBrightenMatrix(alternate);

    const auto compose = [&](const QImage& picture, QPoint offset) {
        const QSize physical(static_cast<int>(std::ceil(size.width() * ratio)),
                             static_cast<int>(std::ceil(size.height() * ratio)));
        QImage out(physical, QImage::Format_ARGB32_Premultiplied);
        out.setDevicePixelRatio(ratio);
        out.fill(Qt::transparent);
        QPainter p(&out);
        DrawNineSlice(p, QRect(offset, size), picture, DefaultPictureBorder(picture));
        return out;
    };
    statePictures_[Index(State::Normal)] = compose(standard, {});
    statePictures_[Index(State::Pressed)] = statePictures_[Index(State::Normal)];
    statePictures_[Index(State::Hot)] = compose(hot, {});
    statePictures_[Index(State::Disabled)] = compose(grey, {});
    statePictures_[Index(State::Checked)] = compose(alternate, {});
    statePictures_[Index(State::CheckedPressed)] = compose(alternate, {1, 1});
    statePictures_[Index(State::CheckedHot)] = compose(alternateHot, {});
}

void CGdipButton::paintEvent(QPaintEvent*)
{
    const qreal ratio = devicePixelRatioF();
    if (PictureRatio(ratio) != loadedRatio_) {
        // Moved to a screen of another density: take the other artwork.
        loadedRatio_ = PictureRatio(ratio);
        standard_ = LoadPicture(standardNumber_, loadedRatio_);
        alternate_ = LoadPicture(alternateNumber_, loadedRatio_);
        InvalidateStatePictures();
    }
    const QImage& first = statePictures_[0];
    if (first.isNull() || first.devicePixelRatio() != ratio ||
        first.deviceIndependentSize().toSize() != size())
        BuildStatePictures(size(), ratio);

    // The widget paints into Qt's backing store, which is the off-screen buffer; transparent
    // parts of the picture show the parent's background.
    QPainter p(this);
    p.drawImage(QPoint(0, 0), statePictures_[Index(CurrentState())]);

    const QString caption = text();
    if (caption.isEmpty())
        return;
    p.setFont(font());
    p.setPen(textColor_);
    const QFontMetrics fm(font());
    const int x = (width() - fm.horizontalAdvance(caption)) / 2 + 1;
    const int y = (height() - fm.height()) / 2;
    p.drawText(x, y + fm.ascent(), caption);
}

void CGdipButton::enterEvent(QEnterEvent* event)
{
    tracking_ = true;
    hover_ = true;
    update();
    if (!tooltipText_.isEmpty())
        tooltipTimer_.start();
    QPushButton::enterEvent(event);
}

void CGdipButton::leaveEvent(QEvent* event)
{
    hover_ = false;
    tracking_ = false;
    tooltipTimer_.stop();
    if (QToolTip::isVisible() && QToolTip::text() == tooltipText_)
        QToolTip::hideText();
    update();
    QPushButton::leaveEvent(event);
}

void CGdipButton::ShowTooltip()
{
    if (hover_ && !tooltipText_.isEmpty())
        QToolTip::showText(QCursor::pos(), tooltipText_, this, rect());
}

void CGdipButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second click of a double click is a press like the first.
    mousePressEvent(event);
}
