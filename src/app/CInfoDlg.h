#pragma once
// The information pop-up: one short notice at a time, closing itself after its time. A new
// notice while it is open replaces the text and starts the time again.

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

class CInfoDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CInfoDlg(QWidget* parent = nullptr);

    void ShowInfo(const QString& text, int ms);
    void Relabel();

    QString Text() const { return text_->text(); }
    // Time left until the pop-up closes itself, -1 when it is not counting.
    int RemainingMs() const { return timer_.isActive() ? timer_.remainingTime() : -1; }

private:
    QLabel* text_;
    QPushButton* close_;
    QTimer timer_;
};
