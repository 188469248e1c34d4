#include "pages/DialogTextBinder.h"

#include "app/PageRegistry.h"
#include "app/UiPort.h"
#include "i18n/DialogTexts.h"
#include "i18n/Language.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

namespace {
void SetCaption(QWidget* w, const QString& text)
{
    if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        group->setTitle(text);
    }
}
} // namespace

void DialogTextBinder::Bind(QWidget* widget, int controlId, const QString& builtIn)
{
    if (!widget) {
        return;
    }
    widget->setProperty("controlId", controlId);
    if (!builtIn.isEmpty()) {
        SetCaption(widget, builtIn);
    }
    bindings_.push_back({widget, controlId});
}

void DialogTextBinder::Apply() const
{
    if (title_) {
        const std::string title = DialogTitleText(dialogId_);
        if (!title.empty()) {
            title_->setWindowTitle(QString::fromStdString(title));
        }
    }
    for (const Binding& b : bindings_) {
        if (!b.widget) {
            continue;
        }
        const std::string text = DialogCaptionText(dialogId_, b.controlId);
        if (!text.empty()) {
            SetCaption(b.widget, QString::fromStdString(text));
        }
    }
}

void SyncLanguage(PageShell* shell)
{
    if (!shell) {
        return;
    }
    const int language =
        shell->Ui().Language() == kLanguageEnglish ? kLanguageEnglish : kLanguageChinese;
    if (language != CurrentLanguage()) {
        SetLanguage(language);
        LoadLanguageTable();
    }
}
