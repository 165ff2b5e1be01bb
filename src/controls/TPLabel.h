#pragma once

#include <QLabel>

#include "controls/NotifyEvent.h"

// The time picker's hour and minute labels: they tell their owner when the mouse
// enters, leaves or presses them. Transparent, so the picker's parent shows through.
class TTPLabel : public QLabel {
    Q_OBJECT

public:
    explicit TTPLabel(QWidget* AOwner = nullptr);

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseEvent OnMouseDown;

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};
