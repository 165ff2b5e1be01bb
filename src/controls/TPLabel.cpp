#include "TPLabel.h"

#include <QMouseEvent>

TTPLabel::TTPLabel(QWidget* AOwner) : QLabel(AOwner)
{
    setAutoFillBackground(false);
}

void TTPLabel::enterEvent(QEnterEvent* event)
{
    QLabel::enterEvent(event);
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TTPLabel::leaveEvent(QEvent* event)
{
    QLabel::leaveEvent(event);
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TTPLabel::mousePressEvent(QMouseEvent* event)
{
    if (!OnMouseDown) {
        QLabel::mousePressEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    OnMouseDown(this, event->button(), event->modifiers(), pos.x(), pos.y());
}
