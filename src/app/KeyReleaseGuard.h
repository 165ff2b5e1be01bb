#pragma once

#include <QObject>

class QKeyEvent;

// Tells which key releases of a widget end a key stroke that began on it. The X
// server repeats a held key as pairs of release and press; Qt marks them as
// auto-repeats, except now and then a pair whose press came in late, and such a
// pair still shares one time stamp. So a key pressed on another window (Enter on
// a dialog's button) and let go here ends no stroke, and a key held here ends
// its stroke once, when it is let go.
class KeyReleaseGuard {
public:
    void pressed(const QKeyEvent& Event);
    // The key whose stroke the release ends, or 0 when it ends none.
    int released(const QKeyEvent& Event);
    // The focus went elsewhere, and the release of a key down now goes there too.
    void reset() { FPressedKey = 0; }

    // Whether Event repeats the held Key that was released at ReleaseTime (the X
    // server's milliseconds; 0 for an event made without a time).
    static bool repeats(const QKeyEvent& Event, int Key, quint64 ReleaseTime);

private:
    int FPressedKey = 0;
    int FReleasedKey = 0;
    quint64 FReleaseTime = 0;
};

// While it lives, keeps the repeats of the released key from every window, so a
// dialog that the release opens does not take a repeated Enter for its own.
class KeyRepeatBlocker : public QObject {
public:
    explicit KeyRepeatBlocker(const QKeyEvent& Release);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int FKey;
    quint64 FReleaseTime;
};
