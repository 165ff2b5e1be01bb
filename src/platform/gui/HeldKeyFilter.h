#pragma once

#include <QObject>
#include <QPointer>

#include <vector>

class QKeyEvent;
class QWidget;

// Keeps a held key in the window where it was pressed: its repeats act there only,
// and once that window closes or loses the focus, the key's further repeats and its
// release reach no window until the key is let go. A new press acts anywhere. So a
// key that closes a window, or opens one, acts once; the window below or the new
// one never takes its repeats for presses of its own.
//
// It watches the application, where it sees every key event before a widget does.
class HeldKeyFilter : public QObject {
public:
    // PressesRepeat: the system repeats a held key by presses alone, with one release
    // when it is let go (the X server's detectable auto-repeat), so a press of a key
    // that is down repeats it. Elsewhere a repeat is marked as one, or comes as a
    // release and a press of one time.
    explicit HeldKeyFilter(bool PressesRepeat, QObject* parent = nullptr);

    // The keyboard let go of the key with this scan code at Time (the clock of the key
    // events). The system tells it as soon as it knows, often before Qt hands out the
    // key's earlier repeats, and also when no window of the program gets the release
    // (it went to another, or to one under a dialog): a press after Time is a new one.
    void letGo(quint32 ScanCode, quint64 Time);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Stroke {
        quint32 scanCode;
        int key;
        QPointer<QWidget> window; // where it was pressed
        bool down;
        bool orphaned;       // its window closed or lost the focus while it was down
        quint64 releaseTime; // of its last release; a press of this time repeats it
        quint64 letGoTime;   // by the keyboard, whether or not a window got the release
    };

    bool dropped(const QKeyEvent& Event, QWidget* Window);
    Stroke* strokeOf(const QKeyEvent& Event);
    void focusMoved();

    bool FPressesRepeat;
    std::vector<Stroke> FStrokes;
};

// Puts the rule on the running application, and asks the X server to tell a held
// key's repeats from new presses.
void keepHeldKeysInTheirWindow();
