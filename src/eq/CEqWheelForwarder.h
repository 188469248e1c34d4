#pragma once
// The wheel of a page: a wheel message anywhere over the page goes to the page's focused
// control when that control is one of the targets (the EQ panel, the sliders), so the wheel
// edits what the keyboard edits; a focused control with a handler gets the wheel's direction
// instead. The filter sits on the page and its child widgets (also those added later), never
// on the whole application: wheel messages elsewhere are not looked at.

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QVector>

#include <functional>

class QWidget;

class CEqWheelForwarder : public QObject
{
    Q_OBJECT

public:
    // +1 for a step up, -1 for a step down; returns true when the wheel was used.
    using Handler = std::function<bool(int step)>;

    // Lives as long as the page (its parent).
    explicit CEqWheelForwarder(QWidget* page);
    void AddTarget(QWidget* target);
    // While `focus` has the focus, wheel steps over the page go to the handler.
    void AddHandler(QWidget* focus, Handler handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Watch(QObject* object);

    QWidget* page_;
    QVector<QPointer<QWidget>> targets_;
    QVector<QPair<QPointer<QWidget>, Handler>> handlers_;
};
