#include "pages/CSpinButton.h"

#include <QToolButton>

#include <algorithm>

CSpinButton::CSpinButton(QWidget* parent)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this))
{
    for (QToolButton* b : {up_, down_}) {
        b->setArrowType(b == up_ ? Qt::UpArrow : Qt::DownArrow);
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setIconSize(QSize(7, 7));
    }
    up_->setObjectName(QStringLiteral("spinUp"));
    down_->setObjectName(QStringLiteral("spinDown"));
    connect(up_, &QToolButton::clicked, this, [this] { emit Stepped(1); });
    connect(down_, &QToolButton::clicked, this, [this] { emit Stepped(-1); });
}

void CSpinButton::SetRange(int minimum, int maximum)
{
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    position_ = std::clamp(position_, minimum_, maximum_);
}

void CSpinButton::SetPos(int position)
{
    position_ = std::clamp(position, minimum_, maximum_);
}

void CSpinButton::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}
