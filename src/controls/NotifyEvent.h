#pragma once

#include <QObject>

#include <functional>

// A plain notification: the control that sends it is the Sender.
using TNotifyEvent = std::function<void(QObject* Sender)>;

// A mouse button pressed at (X, Y) in Sender's own coordinates.
using TMouseEvent =
    std::function<void(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)>;
