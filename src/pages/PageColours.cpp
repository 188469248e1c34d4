#include "pages/PageColours.h"

#include <QPalette>
#include <QWidget>

void ApplyPageBackground(QWidget* widget)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, kPageBackground);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}
