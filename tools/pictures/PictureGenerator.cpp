// Draws the program's control pictures and writes them as PNG files, each at 1x ("324.png")
// and 2x ("324@2x.png"). The artwork is vector drawing on a logical pixel grid, so both sizes
// come out crisp. Run it by building the `pictures` target; the PNG files are checked in.
//
//   324       horizontal slider channel, 120 x 22
//   320 369 325   horizontal slider thumb: normal, focused, disabled, 13 x 17
//   448       vertical slider channel, 22 x 130
//   449 447 450   vertical slider thumb: normal, focused, disabled, 17 x 13
//   413       action button, 96 x 32 (drawn stretched to the button with fixed corners)
//   414       navigation button of the output pages, 96 x 32
//   395       checked (selected) button, 96 x 32

#include "PictureWriter.h"

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QString>

#include <cmath>
#include <cstdio>
#include <functional>

namespace {

using pictures::kAccent;
using pictures::kGraphiteBottom;
using pictures::kGraphiteTop;
using pictures::kOutline;
const QColor kAccentBright(92, 200, 255);
using pictures::kMark;

using pictures::Painter;
using pictures::Write;

// ---- Slider channel -------------------------------------------------------------------

// A recessed groove between `a` and `b` along the track, `thick` wide, centred at `centre`
// across it. The groove's inside is half transparent:
// the slider draws the channel a second time over the low side of the thumb, so that side
// comes out as a deeper blue than the rest.
void Channel(QPainter& p, bool vertical, qreal a, qreal b, qreal centre)
{
    // Odd widths about a half-pixel centre put every edge on a whole pixel at 1x.
    const qreal thick = 5.0;
    const auto rect = [&](qreal from, qreal to, qreal mid, qreal w) {
        return vertical ? QRectF(mid - w / 2, from, w, to - from)
                        : QRectF(from, mid - w / 2, to - from, w);
    };
    // Rim: a dark body with a pale line along its lower (right) side make the groove look
    // sunk into the panel.
    const QRectF outer = rect(a, b, centre, thick + 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 230));
    p.drawRoundedRect(outer.translated(vertical ? 1.0 : 0.0, vertical ? 0.0 : 1.0), 3.5, 3.5);
    p.setBrush(kOutline);
    p.drawRoundedRect(outer, 3.5, 3.5);

    const QRectF inner = rect(a + 1, b - 1, centre, thick);
    QLinearGradient glass(inner.topLeft(), vertical ? inner.topRight() : inner.bottomLeft());
    glass.setColorAt(0.0, QColor(12, 60, 130, 150));
    glass.setColorAt(0.5, QColor(38, 132, 226, 120));
    glass.setColorAt(1.0, QColor(70, 170, 250, 135));
    // Replace the rim inside, so the translucent glass is all there is.
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.setBrush(glass);
    p.drawRoundedRect(inner, 2.5, 2.5);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// ---- Slider thumb ---------------------------------------------------------------------

enum class ThumbLook
{
    Normal,
    Focused,
    Disabled
};

// A fader cap: rounded body, top highlight, grip ridges and a centre mark across the track.
void Thumb(QPainter& p, QSizeF size, bool vertical, ThumbLook look)
{
    const QRectF body(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    const bool disabled = look == ThumbLook::Disabled;
    const bool focused = look == ThumbLook::Focused;

    // Body shading runs across the cap's short side, like light falling from the top left.
    QLinearGradient shade(body.topLeft(), vertical ? body.bottomLeft() : body.topRight());
    if (disabled) {
        shade.setColorAt(0.0, QColor(206, 210, 216));
        shade.setColorAt(1.0, QColor(168, 173, 180));
    } else {
        shade.setColorAt(0.0, kGraphiteTop);
        shade.setColorAt(0.45, QColor(62, 72, 88));
        shade.setColorAt(1.0, kGraphiteBottom);
    }
    p.setPen(QPen(disabled  ? QColor(138, 144, 152)
                  : focused ? QColor(20, 96, 190)
                            : kOutline,
                  1.0));
    p.setBrush(shade);
    p.drawRoundedRect(body, 2.5, 2.5);

    // Inner top highlight.
    const QRectF inner = body.adjusted(1.0, 1.0, -1.0, -1.0);
    p.setPen(QPen(QColor(255, 255, 255, disabled ? 110 : 60), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(inner, 1.5, 1.5);

    // Grip ridges either side of the mark.
    const QColor ridgeDark = disabled ? QColor(150, 155, 162) : QColor(22, 28, 38);
    const QColor ridgeLight = disabled ? QColor(228, 231, 235) : QColor(120, 132, 150);
    const qreal mid =
        vertical ? std::floor(size.height() / 2) + 0.5 : std::floor(size.width() / 2) + 0.5;
    for (const qreal off : {-3.0, 3.0}) {
        const qreal at = mid + off;
        if (vertical) {
            p.setPen(QPen(ridgeDark, 1.0));
            p.drawLine(QPointF(4, at), QPointF(size.width() - 4, at));
            p.setPen(QPen(ridgeLight, 1.0));
            p.drawLine(QPointF(4, at + 1), QPointF(size.width() - 4, at + 1));
        } else {
            p.setPen(QPen(ridgeDark, 1.0));
            p.drawLine(QPointF(at, 4), QPointF(at, size.height() - 4));
            p.setPen(QPen(ridgeLight, 1.0));
            p.drawLine(QPointF(at + 1, 4), QPointF(at + 1, size.height() - 4));
        }
    }

    // Centre mark: white, a lit blue when focused, dim grey when disabled.
    const QColor mark = disabled ? QColor(132, 138, 146) : focused ? kAccentBright : kMark;
    if (focused) {
        // A soft glow under the mark.
        p.setPen(QPen(QColor(92, 200, 255, 90), 3.0));
        if (vertical)
            p.drawLine(QPointF(2.5, mid), QPointF(size.width() - 2.5, mid));
        else
            p.drawLine(QPointF(mid, 2.5), QPointF(mid, size.height() - 2.5));
    }
    p.setPen(QPen(mark, 1.0));
    if (vertical)
        p.drawLine(QPointF(2, mid), QPointF(size.width() - 2, mid));
    else
        p.drawLine(QPointF(mid, 2), QPointF(mid, size.height() - 2));
}

// ---- Buttons --------------------------------------------------------------------------

enum class ButtonLook
{
    Action,
    Navigation,
    Checked
};

// A rounded key cap. Corners stay within 8 pixels, so a button of any size can stretch the
// middle of the picture and keep the corners.
void Button(QPainter& p, QSizeF size, ButtonLook look)
{
    const QRectF body(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    const qreal radius = 5.0;

    QLinearGradient shade(body.topLeft(), body.bottomLeft());
    QColor outline = kOutline;
    switch (look) {
    case ButtonLook::Action:
        shade.setColorAt(0.0, QColor(72, 88, 112));
        shade.setColorAt(0.5, QColor(44, 55, 72));
        shade.setColorAt(1.0, QColor(30, 38, 51));
        break;
    case ButtonLook::Navigation:
        shade.setColorAt(0.0, QColor(58, 68, 84));
        shade.setColorAt(0.5, QColor(36, 43, 55));
        shade.setColorAt(1.0, QColor(25, 30, 39));
        break;
    case ButtonLook::Checked:
        shade.setColorAt(0.0, QColor(84, 176, 255));
        shade.setColorAt(0.5, QColor(38, 132, 226));
        shade.setColorAt(1.0, QColor(22, 92, 178));
        outline = QColor(10, 52, 110);
        break;
    }
    p.setPen(QPen(outline, 1.0));
    p.setBrush(shade);
    p.drawRoundedRect(body, radius, radius);

    // Upper sheen.
    const QRectF inner = body.adjusted(1.0, 1.0, -1.0, -1.0);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, look == ButtonLook::Checked ? 90 : 45), 1.0));
    p.drawRoundedRect(inner, radius - 1, radius - 1);

    if (look == ButtonLook::Navigation) {
        // A thin accent line along the bottom, like the label strip of a rack unit.
        p.setPen(QPen(QColor(60, 120, 190, 200), 1.0));
        p.drawLine(QPointF(radius + 1, size.height() - 3.5),
                   QPointF(size.width() - radius - 1, size.height() - 3.5));
    }
    if (look == ButtonLook::Checked) {
        // A lit bar along the bottom edge marks the selected page.
        p.setPen(QPen(QColor(170, 230, 255, 230), 1.0));
        p.drawLine(QPointF(radius + 1, size.height() - 3.5),
                   QPointF(size.width() - radius - 1, size.height() - 3.5));
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    bool ok = true;

    // Horizontal slider: margins 7, 7, 3, 2 leave a 13 x 17 thumb on a 22 pixel channel.
    const QSize hChannel(120, 22);
    const QSizeF hThumb(13, 17);
    ok &= Write(dir, 324, hChannel, [&](QPainter& p) {
        Channel(p, false, 4, hChannel.width() - 4, 3 + hThumb.height() / 2);
    });
    ok &= Write(dir, 320, hThumb.toSize(),
                [&](QPainter& p) { Thumb(p, hThumb, false, ThumbLook::Normal); });
    ok &= Write(dir, 369, hThumb.toSize(),
                [&](QPainter& p) { Thumb(p, hThumb, false, ThumbLook::Focused); });
    ok &= Write(dir, 325, hThumb.toSize(),
                [&](QPainter& p) { Thumb(p, hThumb, false, ThumbLook::Disabled); });

    // Vertical slider: margins 3, 2, 7, 7 leave a 17 x 13 thumb on a 22 pixel channel.
    const QSize vChannel(22, 130);
    const QSizeF vThumb(17, 13);
    ok &= Write(dir, 448, vChannel, [&](QPainter& p) {
        Channel(p, true, 4, vChannel.height() - 4, 3 + vThumb.width() / 2);
    });
    ok &= Write(dir, 449, vThumb.toSize(),
                [&](QPainter& p) { Thumb(p, vThumb, true, ThumbLook::Normal); });
    ok &= Write(dir, 447, vThumb.toSize(),
                [&](QPainter& p) { Thumb(p, vThumb, true, ThumbLook::Focused); });
    ok &= Write(dir, 450, vThumb.toSize(),
                [&](QPainter& p) { Thumb(p, vThumb, true, ThumbLook::Disabled); });

    const QSize button(96, 32);
    ok &= Write(dir, 413, button, [&](QPainter& p) { Button(p, button, ButtonLook::Action); });
    ok &= Write(dir, 414, button, [&](QPainter& p) { Button(p, button, ButtonLook::Navigation); });
    ok &= Write(dir, 395, button, [&](QPainter& p) { Button(p, button, ButtonLook::Checked); });

    return ok ? 0 : 1;
}
