#pragma once
// The captions a page takes from its dialog's language table. Each captioned widget is bound
// to its control id once, with the caption the dialog resource would give it; Apply then
// sets every caption (and the window title) that the current table holds, through the
// shell's ApplyWindowLanguage. A control without a key keeps the caption it has.

#include <QString>
#include <QWidget>

class DialogTextBinder
{
public:
    DialogTextBinder(QWidget* window, int dialogId) : window_(window), dialogId_(dialogId) {}

    // Gives `widget` (QLabel, QAbstractButton or QGroupBox) its control id and built-in
    // caption.
    void Bind(QWidget* widget, int controlId, const QString& builtIn = {});
    void Apply() const;
    int DialogId() const { return dialogId_; }

private:
    QWidget* window_;
    int dialogId_;
};
