#include "KeyReleaseGuard.h"

#include <QCoreApplication>
#include <QKeyEvent>

bool KeyReleaseGuard::repeats(const QKeyEvent& Event, int Key, quint64 ReleaseTime)
{
    return Event.key() == Key && (Event.isAutoRepeat() || (ReleaseTime != 0 && Event.timestamp() == ReleaseTime));
}

void KeyReleaseGuard::pressed(const QKeyEvent& Event)
{
    if (Event.isAutoRepeat() || repeats(Event, FReleasedKey, FReleaseTime))
        return; // the key is held down, from here or from another window
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
    return Event.key();
}

KeyRepeatBlocker::KeyRepeatBlocker(const QKeyEvent& Release) : FKey(Release.key()), FReleaseTime(Release.timestamp())
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool KeyRepeatBlocker::eventFilter(QObject*, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    return KeyReleaseGuard::repeats(*static_cast<QKeyEvent*>(event), FKey, FReleaseTime);
}
