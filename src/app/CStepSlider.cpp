#include "app/CStepSlider.h"

#include <QMouseEvent>
#include <QStyleOptionSlider>
#include <QWheelEvent>

CStepSlider::CStepSlider(int commandId, int minimum, int maximum, QWidget* parent)
    : QSlider(Qt::Horizontal, parent), commandId_(commandId)
{
    setObjectName(QString("cmd%1").arg(commandId));
    setProperty("commandId", commandId);
    setRange(minimum, maximum);
    setSingleStep(1);
    setPageStep(1);
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QSlider::sliderMoved, this, &CStepSlider::Moved);
}

void CStepSlider::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, this);
    if (handle.contains(event->position().toPoint())) {
        QSlider::mousePressEvent(event);
        return;
    }
    const bool towardsMax = event->position().x() > handle.center().x();
    setValue(value() + (towardsMax ? 1 : -1));
    event->accept();
    emit Moved(value());
}

void CStepSlider::wheelEvent(QWheelEvent* event)
{
    event->ignore();
}
