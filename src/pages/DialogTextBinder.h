#pragma once
// The captions a page takes from its dialog's language table: each widget is bound to its
// control id once, and Apply sets every caption the current table holds (labels, buttons,
// group boxes, and the window title). A control without a key keeps the caption it has.

#include <QPointer>
#include <QString>
#include <QWidget>

#include <vector>

class PageShell;

class DialogTextBinder
{
public:
    explicit DialogTextBinder(int dialogId) : dialogId_(dialogId) {}

    // Binds `widget` (QLabel, QAbstractButton or QGroupBox) to its control id and gives it
    // the built-in caption the dialog resource would have.
    void Bind(QWidget* widget, int controlId, const QString& builtIn = {});
    // The dialog's title goes to `window` when the table has "IDD<dialog>_title".
    void BindTitle(QWidget* window) { title_ = window; }
    void Apply() const;
    int DialogId() const { return dialogId_; }

private:
    struct Binding
    {
        QPointer<QWidget> widget;
        int controlId;
    };
    int dialogId_;
    QPointer<QWidget> title_;
    std::vector<Binding> bindings_;
};

// The shell keeps its own language index; the pages format through g_nLanguage and the
// dialog tables. Brings both in line with the shell's index (loading the table on a change).
void SyncLanguage(PageShell* shell);
