#pragma once

#include <QObject>

class QKeyEvent;

// Tells which key releases of a widget end a key stroke that began on it. The X
// server repeats a held key as pairs of release and press; Qt marks them as
// auto-repeats, except for the pairs whose press came in late, often the most of
// them, and such a pair still shares one time stamp. So a key pressed on another
// window (Enter on a dialog's button) and let go here ends no stroke, and a key
// held here ends its stroke once, when it is let go.
class KeyReleaseGuard {
public:
    // How long a release waits for the press of its pair before it ends its stroke.
    static constexpr int PairWaitMs = 50;

    void pressed(const QKeyEvent& Event);
    // The key whose stroke the release may end, or 0 when it ends none. A release
    // with a time ends it only when ended() says so, after PairWaitMs: a press of
    // its time makes it half of a repeat pair, and the key is still down.
    int released(const QKeyEvent& Event);
    // The key whose stroke the release at ReleaseTime ended, or 0 when a press of
    // its pair followed it.
    int ended(quint64 ReleaseTime);
    // The focus went elsewhere, and the release of a key down now goes there too.
    void reset() { FPressedKey = 0; }

    // Whether Event repeats the held Key that was released at ReleaseTime (the X
    // server's milliseconds; 0 for an event made without a time).
    static bool repeats(const QKeyEvent& Event, int Key, quint64 ReleaseTime);

private:
    int FPressedKey = 0;
    int FReleasedKey = 0;
    quint64 FReleaseTime = 0;
    int FEndingKey = 0; // released here and waiting for the press of its pair
};

// While it lives, keeps the repeats of the released key from every window, so a
// dialog that the release opens does not take a repeated Enter for its own.
class KeyRepeatBlocker : public QObject {
public:
    KeyRepeatBlocker(int Key, quint64 ReleaseTime);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int FKey;
    quint64 FReleaseTime;
};
