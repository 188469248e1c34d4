// The pictures of the remote-control window: the remote itself, with its learnable keys on
// graphite plates and the keys the processor cannot learn drawn flat and dim, and the help
// beside it in Chinese and English. Key positions come from the window's own layout, so the
// clickable spots and the drawing always agree.

#include "PictureWriter.h"
#include "pages/RemoteLayout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QString>

namespace {
using pictures::kAccent;
using pictures::kGraphiteBottom;
using pictures::kGraphiteTop;
using pictures::kMark;
using pictures::kOutline;
using namespace remote_layout;

void Caption(QPainter& p, const QRectF& r, const char* text)
{
    p.setFont(pictures::UiFont(9, true));
    QColor c = kMark;
    c.setAlphaF(0.55f);
    p.setPen(c);
    p.drawText(r, Qt::AlignHCenter | Qt::AlignVCenter, QString::fromUtf8(text));
}

void DrawKey(QPainter& p, const Key& k)
{
    const QRectF r(k.x + 0.5, k.y + 0.5, k.width - 1.0, k.height - 1.0);
    const bool learnable = k.function != 0;
    if (learnable) {
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0.0, QColor(120, 134, 156));
        g.setColorAt(1.0, QColor(58, 68, 86));
        p.setBrush(g);
        p.setPen(QPen(kAccent.lighter(120), 1.2));
    } else {
        p.setBrush(QColor(52, 58, 68));
        p.setPen(QPen(QColor(70, 78, 90), 1.0));
    }
    p.drawRoundedRect(r, 6, 6);
    if (learnable) {
        p.setPen(QPen(QColor(255, 255, 255, 70), 1.0));
        p.drawLine(QPointF(r.left() + 6, r.top() + 2), QPointF(r.right() - 6, r.top() + 2));
    }
    const QString label = QString::fromUtf8(k.label);
    const bool symbol = label.size() == 1;
    QFont f = pictures::UiFont(symbol ? 17 : 11, true);
    while (QFontMetricsF(f).horizontalAdvance(label) > r.width() - 6 && f.pixelSize() > 7) {
        f.setPixelSize(f.pixelSize() - 1);
    }
    p.setFont(f);
    p.setPen(learnable ? kMark : QColor(130, 138, 150));
    p.drawText(r, Qt::AlignCenter, label);
}

void Remote(QPainter& p)
{
    const QRectF body(8.5, 6.5, kPictureWidth - 17.0, kPictureHeight - 13.0);
    QLinearGradient g(body.topLeft(), body.topRight());
    g.setColorAt(0.0, kGraphiteBottom);
    g.setColorAt(0.5, kGraphiteTop.darker(130));
    g.setColorAt(1.0, kGraphiteBottom);
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(g);
    p.drawRoundedRect(body, 30, 30);
    // The infrared window.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 20, 30));
    p.drawRoundedRect(QRectF(80, 12, 40, 9), 4, 4);
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawRoundedRect(QRectF(84, 13, 14, 3), 1.5, 1.5);

    Caption(p, QRectF(20, 66, 160, 14), "USER MODE");
    Caption(p, QRectF(20, 124, 80, 14), "MIC");
    Caption(p, QRectF(100, 124, 80, 14), "MUSIC");
    Caption(p, QRectF(20, 254, 160, 14), "PITCH");
    Caption(p, QRectF(20, 340, 160, 14), "EFFECT");
    for (const Key& k : kKeys) {
        DrawKey(p, k);
    }
}

void Help(QPainter& p, bool english)
{
    const QRectF card(0.5, 0.5, kHelpWidth - 1.0, kHelpHeight - 1.0);
    p.setPen(QPen(QColor(170, 196, 222), 1.0));
    p.setBrush(QColor(255, 255, 255));
    p.drawRoundedRect(card, 10, 10);
    QPainterPath head;
    head.setFillRule(Qt::WindingFill);
    head.addRoundedRect(QRectF(0.5, 0.5, kHelpWidth - 1.0, 44), 10, 10);
    head.addRect(QRectF(0.5, 30, kHelpWidth - 1.0, 15));
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawPath(head.simplified());
    p.setFont(pictures::UiFont(16, true));
    p.setPen(Qt::white);
    p.drawText(QRectF(16, 0, kHelpWidth - 32, 44), Qt::AlignLeft | Qt::AlignVCenter,
               english ? QStringLiteral("Learning the remote")
                       : QString::fromUtf8("遥控器学习说明"));

    const char* zh[] = {
        "在左边的遥控器图上点击要学习的功能键。",
        "学习窗口出现后，把遥控器对准机器的接收窗，按下您要使用的按键。",
        "学到键码后窗口显示键码，一秒后自动关闭。不想学习时点击“放弃学习”。",
        "全部学完后点击“应用参数”，键码保存到机器中。",
        "“保存参数”把键码存为文件（*.remo），“载入参数”把文件中的键码调入机器。",
    };
    const char* en[] = {
        "Click the key to learn on the remote at the left.",
        "When the learning window opens, point your remote at the processor and press the "
        "key you want to use.",
        "The key code is shown and the window closes after a second. Click Cancel to stop "
        "learning.",
        "When all keys are learned, click Apply to store the codes in the processor.",
        "Save file keeps the codes in a file (*.remo); Load file sends a file's codes to the "
        "processor.",
    };
    double y = 58;
    const QFont text = pictures::UiFont(english ? 12 : 13, false);
    for (int i = 0; i < 5; ++i) {
        const QString line = QString::fromUtf8(english ? en[i] : zh[i]);
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawEllipse(QPointF(24, y + 10), 9, 9);
        p.setFont(pictures::UiFont(11, true));
        p.setPen(Qt::white);
        p.drawText(QRectF(15, y + 1, 18, 18), Qt::AlignCenter, QString::number(i + 1));
        p.setFont(text);
        p.setPen(QColor(30, 40, 56));
        const QRectF area(42, y, kHelpWidth - 56, 200);
        const QRectF used = p.boundingRect(area, Qt::TextWordWrap | Qt::AlignLeft, line);
        p.drawText(area, Qt::TextWordWrap | Qt::AlignLeft, line);
        y += used.height() + 14;
    }
    // The keys that cannot be learned.
    const QRectF sample(24, kHelpHeight - 46, 34, 20);
    p.setBrush(QColor(52, 58, 68));
    p.setPen(QPen(QColor(70, 78, 90), 1.0));
    p.drawRoundedRect(sample, 5, 5);
    p.setFont(pictures::UiFont(english ? 12 : 13, false));
    p.setPen(QColor(80, 90, 104));
    p.drawText(QRectF(66, kHelpHeight - 52, kHelpWidth - 80, 32),
               Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
               english ? QStringLiteral("Grey keys cannot be learned.")
                       : QString::fromUtf8("灰色按键不支持学习"));
}
} // namespace

bool DrawRemotePictures(const QString& dir)
{
    bool ok = pictures::Write(dir, kRemotePicture, QSize(kPictureWidth, kPictureHeight), Remote);
    ok = pictures::Write(dir, kHelpPictureChinese, QSize(kHelpWidth, kHelpHeight),
                         [](QPainter& p) { Help(p, false); }) &&
         ok;
    ok = pictures::Write(dir, kHelpPictureEnglish, QSize(kHelpWidth, kHelpHeight),
                         [](QPainter& p) { Help(p, true); }) &&
         ok;
    return ok;
}
