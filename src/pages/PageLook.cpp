#include "pages/PageLook.h"

#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QWidget>

void ApplyPageBackground(QWidget* widget)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, kPageBackground);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

void ApplyDialogFont(QWidget* widget)
{
    QFont f = widget->font();
    f.setPixelSize(kDialogFontPixels);
    widget->setFont(f);
}

QLabel* MakeStatic(QWidget* parent, const QRect& r, Qt::Alignment align)
{
    auto* l = new QLabel(parent);
    l->setGeometry(r);
    l->setAlignment(align | Qt::AlignVCenter);
    l->setAttribute(Qt::WA_TranslucentBackground);
    return l;
}

void SetTextColour(QWidget* w, const QColor& c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::Disabled, QPalette::WindowText, c.lighter(160));
    w->setPalette(p);
}
