#pragma once
// Copies the current language table's texts for a dialog id into a window: its title and
// the caption of every child that carries a "controlId" property. Children without a key in
// the table keep their captions. Header-only so page libraries can use it.

#include "i18n/DialogTexts.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QString>
#include <QWidget>

#include <vector>

inline void ApplyWindowLanguage(QWidget* window, int dialogId)
{
    if (!window) {
        return;
    }
    std::string title;
    std::vector<QWidget*> children;
    std::vector<DialogCaption> captions;
    for (QWidget* child : window->findChildren<QWidget*>()) {
        bool ok = false;
        const int id = child->property("controlId").toInt(&ok);
        if (ok) {
            children.push_back(child);
            captions.push_back(DialogCaption{id, {}});
        }
    }
    ApplyLanguage(dialogId, title, captions);
    if (!title.empty()) {
        window->setWindowTitle(QString::fromStdString(title));
    }
    for (size_t i = 0; i < children.size(); ++i) {
        if (captions[i].text.empty()) {
            continue;
        }
        const QString text = QString::fromStdString(captions[i].text);
        if (auto* label = qobject_cast<QLabel*>(children[i])) {
            label->setText(text);
        } else if (auto* button = qobject_cast<QAbstractButton*>(children[i])) {
            button->setText(text);
        } else if (auto* group = qobject_cast<QGroupBox*>(children[i])) {
            group->setTitle(text);
        }
    }
}
