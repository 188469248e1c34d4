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
    // onTimeout shows the time-out box (kept out so tests need no modal box).
    CSynDlg(QWidget* parent, std::function<void()> onTimeout, int timeoutMs = 20000,
            int stepMs = 150);

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
