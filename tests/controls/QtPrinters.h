#pragma once
// Readable GoogleTest output for the Qt values the control tests compare.

#include <QColor>
#include <QPoint>
#include <QSize>
#include <QString>

#include <ostream>

inline void PrintTo(const QSize& s, std::ostream* os)
{
    *os << s.width() << "x" << s.height();
}

inline void PrintTo(const QPoint& p, std::ostream* os)
{
    *os << "(" << p.x() << ", " << p.y() << ")";
}

inline void PrintTo(const QColor& c, std::ostream* os)
{
    *os << "rgba(" << c.red() << ", " << c.green() << ", " << c.blue() << ", " << c.alpha() << ")";
}

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
