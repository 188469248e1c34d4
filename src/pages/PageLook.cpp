#include "pages/PageLook.h"

#include <QFont>
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
