// Draws the pictures of the effects page and writes them as PNG files at 1x ("4212.png") and
// 2x ("4212@2x.png"): the title picture of each effect EQ in both languages and the back
// button. They follow the controls' artwork: graphite plates, a blue accent, pale marks, and
// the channel colours of the input page (cyan for channel A, green for channel B). Build the
// `page_pictures` target to redraw them; the PNG files are checked in.
//
//   4212/4213  reverb EQ channel A, Chinese / English      213 x 62
//   4214/4215  echo EQ channel A
//   4218/4219  reverb EQ channel B
//   4220/4221  echo EQ channel B
//   4230       back button                                 87 x 78
//   4240       the remote of the remote-control window      200 x 440 (RemoteArt.cpp)
//   4241/4242  its help, Chinese / English                  270 x 440

#include "PictureWriter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <cstdio>
#include <functional>

namespace {
using pictures::kAccent;
using pictures::kGraphiteBottom;
using pictures::kGraphiteTop;
using pictures::kMark;
using pictures::kOutline;
const QColor kChannelA(0, 200, 255);
const QColor kChannelB(0, 220, 0);

using pictures::Painter;
using pictures::UiFont;
using pictures::Write;

void Plate(QPainter& p, const QRectF& r, double radius)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, kGraphiteTop);
    g.setColorAt(1.0, kGraphiteBottom);
    p.setPen(QPen(kOutline, 1.0));
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    // A pale line along the top edge, as on the buttons.
    p.setPen(QPen(QColor(255, 255, 255, 60), 1.0));
    p.drawLine(QPointF(r.left() + radius, r.top() + 1.5),
               QPointF(r.right() - radius, r.top() + 1.5));
}

// Reverb: a source with three widening arcs. Echo: three repeats, each fainter and smaller.
void EffectIcon(QPainter& p, const QPointF& c, bool reverb, const QColor& colour)
{
    p.setBrush(Qt::NoBrush);
    if (reverb) {
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawEllipse(c, 3.2, 3.2);
        p.setBrush(Qt::NoBrush);
        for (int i = 1; i <= 3; ++i) {
            QColor arc = colour;
            arc.setAlphaF(1.0f - 0.22f * static_cast<float>(i));
            p.setPen(QPen(arc, 2.0, Qt::SolidLine, Qt::RoundCap));
            const double r = 4.0 + 5.0 * i;
            p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), -50 * 16, 100 * 16);
            p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 130 * 16, 100 * 16);
        }
    } else {
        for (int i = 0; i < 3; ++i) {
            QColor bar = colour;
            bar.setAlphaF(1.0f - 0.3f * static_cast<float>(i));
            p.setPen(Qt::NoPen);
            p.setBrush(bar);
            const double h = 22.0 - 6.0 * i;
            p.drawRoundedRect(QRectF(c.x() - 13 + 10 * i, c.y() - h / 2, 5, h), 2, 2);
        }
    }
}

void Title(QPainter& p, bool reverb, bool channelB, bool english)
{
    const QRectF r(0, 0, 213, 62);
    Plate(p, r.adjusted(1, 3, -1, -3), 7);
    const QColor channel = channelB ? kChannelB : kChannelA;
    // Accent bar on the left in the channel's colour.
    p.setPen(Qt::NoPen);
    p.setBrush(channel);
    p.drawRoundedRect(QRectF(6, 10, 4, 42), 2, 2);
    EffectIcon(p, QPointF(33, 31), reverb, channel);

    const char* zh[2][2] = {{"混响通道A均衡", "混响通道B均衡"}, {"回声通道A均衡", "回声通道B均衡"}};
    const char* en[2][2] = {{"CH A Reverb EQ", "CH B Reverb EQ"}, {"CH A Echo EQ", "CH B Echo EQ"}};
    const char* sub[2][2] = {{"REVERB  ·  7 BANDS", "ECHO  ·  7 BANDS"},
                             {"混响  ·  七段均衡", "回声  ·  七段均衡"}};
    const int e = reverb ? 0 : 1;
    const int b = channelB ? 1 : 0;
    const QString main = QString::fromUtf8(english ? en[e][b] : zh[e][b]);
    const QString small = QString::fromUtf8(english ? sub[0][e] : sub[1][e]);

    const QRectF textArea(56, 8, 150, 46);
    QFont big = UiFont(english ? 16 : 17, true);
    // Shrink until the title fits the plate.
    while (QFontMetricsF(big).horizontalAdvance(main) > textArea.width() && big.pixelSize() > 10) {
        big.setPixelSize(big.pixelSize() - 1);
    }
    p.setFont(big);
    p.setPen(kMark);
    p.drawText(QRectF(textArea.left(), textArea.top() + 2, textArea.width(), 26),
               Qt::AlignLeft | Qt::AlignVCenter, main);
    p.setFont(UiFont(10, false));
    QColor faint = kMark;
    faint.setAlphaF(0.65f);
    p.setPen(faint);
    p.drawText(QRectF(textArea.left(), textArea.top() + 27, textArea.width(), 16),
               Qt::AlignLeft | Qt::AlignVCenter, small);
}

void Back(QPainter& p)
{
    const QRectF r(0, 0, 87, 78);
    Plate(p, r.adjusted(1, 1, -1, -1), 9);
    // A left arrow in the accent colour inside a pale ring.
    const QPointF c(43.5, 39);
    p.setPen(QPen(QColor(255, 255, 255, 70), 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 24, 24);
    QPainterPath arrow;
    arrow.moveTo(c.x() + 12, c.y());
    arrow.lineTo(c.x() - 10, c.y());
    arrow.moveTo(c.x() - 1, c.y() - 10);
    arrow.lineTo(c.x() - 11, c.y());
    arrow.lineTo(c.x() - 1, c.y() + 10);
    p.setPen(QPen(kAccent.lighter(135), 5.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(arrow);
    p.setPen(QPen(kMark, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(arrow);
}
} // namespace

bool DrawRemotePictures(const QString& dir);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    bool ok = true;
    const int kinds[4] = {6, 7, 9, 10};
    for (const int kind : kinds) {
        const bool reverb = kind == 6 || kind == 9;
        const bool channelB = kind >= 9;
        for (int language = 0; language < 2; ++language) {
            ok = Write(dir, 4200 + 2 * kind + language, QSize(213, 62),
                       [=](QPainter& p) { Title(p, reverb, channelB, language == 1); }) &&
                 ok;
        }
    }
    ok = Write(dir, 4230, QSize(87, 78), Back) && ok;
    ok = DrawRemotePictures(dir) && ok;
    return ok ? 0 : 1;
}
