// Draws the pictures of the sound-field room drawing and writes them as PNG files at 1x and 2x:
// the listener seen from above and a speaker box whose woofer leaves a dark disc for the
// speaker's number, which the drawing adds in the speaker's colour. They follow the controls'
// artwork: graphite bodies, a blue accent, pale marks. Build the `soundfield_pictures` target
// to redraw them; the PNG files are checked in.
//
//   4250  listener      36 x 36
//   4251  speaker       30 x 38

#include "PictureWriter.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>

namespace {
using pictures::kAccent;
using pictures::kGraphiteBottom;
using pictures::kGraphiteTop;
using pictures::kMark;
using pictures::kOutline;

QLinearGradient Graphite(const QRectF& r)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, kGraphiteTop);
    g.setColorAt(1.0, kGraphiteBottom);
    return g;
}

// Head and shoulders from above, facing the front (up), inside an accent ring.
void Listener(QPainter& p)
{
    const QPointF c(18, 18);
    QColor halo = kAccent;
    halo.setAlpha(60);
    p.setPen(QPen(kAccent, 2.0));
    p.setBrush(halo);
    p.drawEllipse(c, 16.5, 16.5);

    const QRectF shoulders(5, 15, 26, 13);
    p.setPen(QPen(kOutline, 1.0));
    p.setBrush(Graphite(shoulders));
    p.drawRoundedRect(shoulders, 6.5, 6.5);

    const QRectF head(11, 9, 14, 15);
    QRadialGradient hg(QPointF(16, 13), 10);
    hg.setColorAt(0.0, kMark);
    hg.setColorAt(1.0, QColor(150, 162, 180));
    p.setBrush(hg);
    p.drawEllipse(head);
    // The nose points to the front.
    QPainterPath nose;
    nose.moveTo(15.5, 9.5);
    nose.lineTo(18, 5.5);
    nose.lineTo(20.5, 9.5);
    p.setBrush(kMark);
    p.drawPath(nose);
}

// A speaker box: tweeter above, woofer below with a dark centre for the number.
void Speaker(QPainter& p)
{
    const QRectF box(1, 1, 28, 36);
    p.setPen(QPen(kOutline, 1.0));
    p.setBrush(Graphite(box));
    p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    p.setPen(QPen(QColor(255, 255, 255, 60), 1.0));
    p.drawLine(QPointF(6, 2.5), QPointF(24, 2.5));

    p.setPen(QPen(kOutline, 1.0));
    p.setBrush(QColor(120, 132, 150));
    p.drawEllipse(QPointF(15, 8.5), 3.5, 3.5);

    const QPointF woofer(15, 24);
    QRadialGradient cone(woofer, 11);
    cone.setColorAt(0.0, QColor(70, 80, 96));
    cone.setColorAt(1.0, QColor(160, 172, 190));
    p.setPen(QPen(kAccent.lighter(120), 1.5));
    p.setBrush(cone);
    p.drawEllipse(woofer, 11, 11);
    p.setPen(QPen(kOutline, 1.0));
    p.setBrush(QColor(22, 27, 36));
    p.drawEllipse(woofer, 7.5, 7.5);
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    bool ok = pictures::Write(dir, 4250, QSize(36, 36), Listener);
    ok = pictures::Write(dir, 4251, QSize(30, 38), Speaker) && ok;
    return ok ? 0 : 1;
}
