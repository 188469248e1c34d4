#include "pages/DialogTextBinder.h"

#include "pageapi/ApplyWindowLanguage.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

void DialogTextBinder::Bind(QWidget* widget, int controlId, const QString& builtIn)
{
    if (!widget) {
        return;
    }
    widget->setProperty("controlId", controlId);
    if (builtIn.isEmpty()) {
        return;
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(builtIn);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(builtIn);
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(builtIn);
    }
}

void DialogTextBinder::Apply() const
{
    ApplyWindowLanguage(window_, dialogId_);
}
