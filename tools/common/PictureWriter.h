#pragma once
// What the two artwork generators share: the palette of the program's pictures and the writer
// that paints one picture at 1x and 2x into <dir>/<number>.png and <number>@2x.png.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QSize>
#include <QString>

#include <cstdio>
#include <functional>

namespace pictures {

// Graphite bodies, a blue accent, pale highlights.
inline const QColor kOutline(14, 19, 27);
inline const QColor kGraphiteTop(92, 104, 122);
inline const QColor kGraphiteBottom(36, 43, 55);
inline const QColor kAccent(38, 132, 226);
inline const QColor kMark(236, 242, 250);

using Painter = std::function<void(QPainter&)>;

// The font of texts drawn into pictures: the program's family, unhinted so that 1x and 2x
// come out alike.
inline QFont UiFont(double pixels, bool bold)
{
    QFont f;
    f.setFamilies({"WenQuanYi Micro Hei", "Noto Sans CJK SC", "DejaVu Sans"});
    f.setPixelSize(static_cast<int>(pixels));
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

inline bool Write(const QString& dir, int number, QSize logical, const Painter& paint)
{
    for (const int scale : {1, 2}) {
        QImage image(logical * scale, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setRenderHint(QPainter::TextAntialiasing, true);
            p.scale(scale, scale);
            paint(p);
        }
        const QString name =
            QStringLiteral("%1/%2%3.png").arg(dir).arg(number).arg(scale == 2 ? "@2x" : "");
        if (!image.save(name, "png")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
            return false;
        }
    }
    return true;
}

} // namespace pictures
