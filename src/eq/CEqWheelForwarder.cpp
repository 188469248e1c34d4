#include "eq/CEqWheelForwarder.h"

#include <QApplication>
#include <QChildEvent>
#include <QWheelEvent>
#include <QWidget>

CEqWheelForwarder::CEqWheelForwarder(QWidget* page) : QObject(page), page_(page)
{
    Watch(page_);
}

void CEqWheelForwarder::Watch(QObject* object)
{
    if (!object->isWidgetType()) {
        return;
    }
    object->removeEventFilter(this);
    object->installEventFilter(this);
    for (QObject* child : object->children()) {
        Watch(child);
    }
}

void CEqWheelForwarder::AddTarget(QWidget* target)
{
    if (target) {
        targets_.push_back(target);
    }
}

void CEqWheelForwarder::AddHandler(QWidget* focus, Handler handler)
{
    if (focus && handler) {
        handlers_.push_back({focus, std::move(handler)});
    }
}

bool CEqWheelForwarder::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ChildAdded) {
        Watch(static_cast<QChildEvent*>(event)->child());
        return false;
    }
    if (event->type() != QEvent::Wheel || !watched->isWidgetType()) {
        return false;
    }
    auto* over = static_cast<QWidget*>(watched);
    if (over != page_ && !page_->isAncestorOf(over)) {
        return false;
    }
    QWidget* focus = QApplication::focusWidget();
    if (!focus) {
        return false;
    }
    const auto* w = static_cast<QWheelEvent*>(event);
    for (const auto& [widget, handler] : handlers_) {
        if (widget == focus) {
            const int delta = w->angleDelta().y() != 0 ? w->angleDelta().y() : w->angleDelta().x();
            if (delta != 0) {
                handler(delta > 0 ? 1 : -1);
            }
            return true;
        }
    }
    if (focus == over) {
        return false;
    }
    bool isTarget = false;
    for (const QPointer<QWidget>& t : targets_) {
        isTarget = isTarget || t == focus;
    }
    if (!isTarget) {
        return false;
    }
    const QPointF local = focus->mapFromGlobal(w->globalPosition());
    QWheelEvent copy(local, w->globalPosition(), w->pixelDelta(), w->angleDelta(), w->buttons(),
                     w->modifiers(), w->phase(), w->inverted(), w->source());
    QApplication::sendEvent(focus, &copy);
    return true;
}
