#pragma once
// The modal wait dialog of a synchronisation. Its bar cycles to show activity; after its
// time-out it closes itself and reports that the processor did not finish in time.

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

#include <functional>

class CSynDlg : public QDialog
{
    Q_OBJECT
public:
    // onTimeout shows the time-out box (kept out so tests need no modal box). With timeoutMs
    // 0 the dialog has no timers: its owner steps it and closes it.
    CSynDlg(QWidget* parent, std::function<void()> onTimeout, int timeoutMs = 20000,
            int stepMs = 150);

    void SetTexts(const QString& title, const QString& text);
    void SetProgress(int percent) { bar_->setValue(percent); }

    // Stops the timers and closes the dialog (synchronisation finished).
    void Finish();
    int Progress() const { return bar_->value(); }

private:
    void Step();
    void TimedOut();

    QProgressBar* bar_;
    QLabel* text_;
    QTimer stepTimer_;
    QTimer timeoutTimer_;
    std::function<void()> onTimeout_;
};
