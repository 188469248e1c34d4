#pragma once
// Sends wheel messages that arrive anywhere over a page to the page's focused control, when
// that control is one of the targets (the EQ panel and the band editor's sliders), so the
// wheel edits what the keyboard edits. Wheel messages outside the page are left alone.

#include <QObject>
#include <QPointer>
#include <QVector>

class QWidget;

class CEqWheelForwarder : public QObject
{
    Q_OBJECT

public:
    // Lives as long as the page (its parent).
    explicit CEqWheelForwarder(QWidget* page);
    void AddTarget(QWidget* target);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* page_;
    QVector<QPointer<QWidget>> targets_;
};
