#include "pages/CSpinButton.h"

#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>

CSpinButton::CSpinButton(QWidget* parent) : QWidget(parent)
{
    up_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    up_->setAutoRepeat(true);
    up_->setFocusPolicy(Qt::NoFocus);
    down_ = new QToolButton(this);
    down_->setArrowType(Qt::DownArrow);
    down_->setAutoRepeat(true);
    down_->setFocusPolicy(Qt::NoFocus);
    connect(up_, &QToolButton::clicked, this, [this] { Step(1); });
    connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
    setFixedWidth(16);
}

void CSpinButton::SetRange(int lower, int upper)
{
    lower_ = std::min(lower, upper);
    upper_ = std::max(lower, upper);
    position_ = std::clamp(position_, lower_, upper_);
}

void CSpinButton::SetPos(int position)
{
    position_ = std::clamp(position, lower_, upper_);
}

void CSpinButton::Step(int delta)
{
    // In 64 bits so that a step at the end of the int range cannot overflow.
    const long long next = static_cast<long long>(position_) + delta;
    position_ = static_cast<int>(std::clamp<long long>(next, lower_, upper_));
    emit Stepped(position_);
}

void CSpinButton::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int h = height() / 2;
    up_->setGeometry(0, 0, width(), h);
    down_->setGeometry(0, h, width(), height() - h);
}

void CSpinButton::wheelEvent(QWheelEvent* event)
{
    const int dy = event->angleDelta().y();
    if (dy != 0) {
        Step(dy > 0 ? 1 : -1);
    }
    event->accept();
}
