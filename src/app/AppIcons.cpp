#include "app/AppIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>
#include <numbers>

namespace {
constexpr int kSize = 64;

QPixmap Blank()
{
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    return pm;
}

void DrawGlyph(QPainter& p, Glyph glyph, const QColor& c)
{
    QPen pen(c, 4.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    switch (glyph) {
    case Glyph::Open: {
        QPainterPath folder;
        folder.moveTo(8, 50);
        folder.lineTo(8, 14);
        folder.lineTo(24, 14);
        folder.lineTo(29, 20);
        folder.lineTo(50, 20);
        folder.lineTo(50, 28);
        p.drawPath(folder);
        QPainterPath front;
        front.moveTo(8, 50);
        front.lineTo(16, 30);
        front.lineTo(58, 30);
        front.lineTo(50, 50);
        front.closeSubpath();
        QColor fill = c;
        fill.setAlpha(60);
        p.setBrush(fill);
        p.drawPath(front);
        break;
    }
    case Glyph::Save: {
        p.drawRoundedRect(QRectF(10, 10, 44, 44), 5, 5);
        p.drawRect(QRectF(20, 10, 22, 14));
        QColor fill = c;
        fill.setAlpha(60);
        p.setBrush(fill);
        p.drawRoundedRect(QRectF(18, 34, 28, 20), 2, 2);
        break;
    }
    case Glyph::LoadMode:
    case Glyph::SaveMode: {
        // A processor front with a mode digit and an arrow in or out.
        QColor fill = c;
        fill.setAlpha(45);
        p.setBrush(fill);
        p.drawRoundedRect(QRectF(6, 18, 52, 30), 5, 5);
        p.setBrush(c);
        p.drawEllipse(QPointF(18, 33), 4, 4);
        p.drawEllipse(QPointF(32, 33), 4, 4);
        p.setBrush(Qt::NoBrush);
        const bool load = glyph == Glyph::LoadMode;
        p.drawLine(QPointF(47, load ? 4 : 14), QPointF(47, load ? 14 : 4));
        QPainterPath head;
        if (load) {
            head.moveTo(42, 9);
            head.lineTo(47, 14);
            head.lineTo(52, 9);
        } else {
            head.moveTo(42, 9);
            head.lineTo(47, 4);
            head.lineTo(52, 9);
        }
        p.drawPath(head);
        p.drawLine(QPointF(44, 33), QPointF(52, 33));
        break;
    }
    case Glyph::Features: {
        QPainterPath star;
        for (int i = 0; i < 10; ++i) {
            const double r = (i % 2 == 0) ? 26.0 : 11.0;
            const double a = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
            const QPointF pt(32 + r * std::cos(a), 33 + r * std::sin(a));
            if (i == 0) {
                star.moveTo(pt);
            } else {
                star.lineTo(pt);
            }
        }
        star.closeSubpath();
        QColor fill = c;
        fill.setAlpha(70);
        p.setBrush(fill);
        p.drawPath(star);
        break;
    }
    case Glyph::Reset: {
        p.drawArc(QRectF(10, 10, 44, 44), 100 * 16, 290 * 16);
        p.drawLine(QPointF(32, 4), QPointF(32, 26));
        break;
    }
    case Glyph::Remote: {
        QColor fill = c;
        fill.setAlpha(45);
        p.setBrush(fill);
        p.drawRoundedRect(QRectF(20, 14, 24, 46), 7, 7);
        p.setBrush(c);
        p.drawEllipse(QPointF(32, 26), 4, 4);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(20, 0, 24, 16), 30 * 16, 120 * 16);
        p.drawLine(QPointF(27, 40), QPointF(37, 40));
        p.drawLine(QPointF(27, 49), QPointF(37, 49));
        break;
    }
    case Glyph::Language: {
        p.drawEllipse(QRectF(8, 8, 48, 48));
        p.drawEllipse(QRectF(21, 8, 22, 48));
        p.drawLine(QPointF(8, 32), QPointF(56, 32));
        p.drawLine(QPointF(12, 20), QPointF(52, 20));
        p.drawLine(QPointF(12, 44), QPointF(52, 44));
        break;
    }
    case Glyph::About: {
        p.drawEllipse(QRectF(8, 8, 48, 48));
        p.setBrush(c);
        p.drawEllipse(QPointF(32, 20), 3.5, 3.5);
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(32, 30), QPointF(32, 46));
        break;
    }
    case Glyph::Exit: {
        p.drawLine(QPointF(16, 16), QPointF(48, 48));
        p.drawLine(QPointF(48, 16), QPointF(16, 48));
        break;
    }
    }
}
} // namespace

QIcon GlyphIcon(Glyph glyph, const QColor& color)
{
    QPixmap pm = Blank();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    DrawGlyph(p, glyph, color);
    p.end();
    QIcon icon(pm);
    QPixmap disabled = Blank();
    QPainter pd(&disabled);
    pd.setRenderHint(QPainter::Antialiasing);
    DrawGlyph(pd, glyph, QColor(160, 170, 185));
    pd.end();
    icon.addPixmap(disabled, QIcon::Disabled);
    return icon;
}

QIcon AppIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 64.0, size / 64.0);
        QLinearGradient g(0, 0, 0, 64);
        g.setColorAt(0, QColor(0x2f, 0x86, 0xeb));
        g.setColorAt(1, QColor(0x15, 0x4c, 0xa8));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(QRectF(2, 2, 60, 60), 14, 14);
        // Three equaliser bars.
        p.setBrush(QColor(255, 255, 255, 235));
        const double heights[] = {22, 36, 28};
        for (int i = 0; i < 3; ++i) {
            const double x = 14 + i * 14;
            p.drawRoundedRect(QRectF(x, 50 - heights[i], 8, heights[i]), 3, 3);
        }
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}
