#include "eq/CEqWheelForwarder.h"

#include <QApplication>
#include <QWheelEvent>
#include <QWidget>

CEqWheelForwarder::CEqWheelForwarder(QWidget* page) : QObject(page), page_(page)
{
    qApp->installEventFilter(this);
}

void CEqWheelForwarder::AddTarget(QWidget* target)
{
    if (target) {
        targets_.push_back(target);
    }
}

bool CEqWheelForwarder::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Wheel || !watched->isWidgetType()) {
        return false;
    }
    auto* over = static_cast<QWidget*>(watched);
    if (over != page_ && !page_->isAncestorOf(over)) {
        return false;
    }
    QWidget* focus = QApplication::focusWidget();
    if (!focus || focus == over) {
        return false;
    }
    bool isTarget = false;
    for (const QPointer<QWidget>& t : targets_) {
        isTarget = isTarget || t == focus;
    }
    if (!isTarget) {
        return false;
    }
    const auto* w = static_cast<QWheelEvent*>(event);
    const QPointF local = focus->mapFromGlobal(w->globalPosition());
    QWheelEvent copy(local, w->globalPosition(), w->pixelDelta(), w->angleDelta(), w->buttons(),
                     w->modifiers(), w->phase(), w->inverted(), w->source());
    QApplication::sendEvent(focus, &copy);
    return true;
}
