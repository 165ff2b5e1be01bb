#pragma once

#include <QObject>

#include <memory>

// A key combination that reaches the program whichever window has the focus.
class HotKey : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Takes the combination for the program; false when the desktop refuses it
    // (another program holds it, or the desktop offers no such service).
    virtual bool registerHotKey(Qt::KeyboardModifiers modifiers, Qt::Key key) = 0;
    // Gives the combination back; nothing happens when none is held.
    virtual void unregisterHotKey() = 0;

signals:
    void pressed();
};

// The hotkey service of the desktop the program runs on (X11; registration fails elsewhere).
std::unique_ptr<HotKey> createSystemHotKey();
