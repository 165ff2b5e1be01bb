#include "KeyReleaseGuard.h"

#include <QCoreApplication>
#include <QKeyEvent>

bool KeyReleaseGuard::repeats(const QKeyEvent& Event, int Key, quint64 ReleaseTime)
{
    return Event.key() == Key && (Event.isAutoRepeat() || (ReleaseTime != 0 && Event.timestamp() == ReleaseTime));
}

void KeyReleaseGuard::pressed(const QKeyEvent& Event)
{
    if (Event.isAutoRepeat() || repeats(Event, FReleasedKey, FReleaseTime)) {
        if (Event.key() == FEndingKey) { // the release was half of a pair: the stroke goes on
            FPressedKey = FEndingKey;
            FEndingKey = 0;
        }
        return; // the key is held down, from here or from another window
    }
    FPressedKey = Event.key();
}

int KeyReleaseGuard::released(const QKeyEvent& Event)
{
    if (Event.isAutoRepeat())
        return 0;
    FReleasedKey = Event.key();
    FReleaseTime = Event.timestamp();
    if (Event.key() != FPressedKey)
        return 0;
    FPressedKey = 0;
    FEndingKey = Event.timestamp() != 0 ? Event.key() : 0;
    return Event.key();
}

int KeyReleaseGuard::ended(quint64 ReleaseTime)
{
    if (ReleaseTime != FReleaseTime)
        return 0;
    const int key = FEndingKey;
    FEndingKey = 0;
    return key;
}

KeyRepeatBlocker::KeyRepeatBlocker(int Key, quint64 ReleaseTime) : FKey(Key), FReleaseTime(ReleaseTime)
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool KeyRepeatBlocker::eventFilter(QObject*, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    return KeyReleaseGuard::repeats(*static_cast<QKeyEvent*>(event), FKey, FReleaseTime);
}
