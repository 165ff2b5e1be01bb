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
    explicit HeldKeyFilter(QObject* parent = nullptr);

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
    };

    bool dropped(const QKeyEvent& Event, QWidget* Window);
    Stroke* strokeOf(const QKeyEvent& Event);
    void focusMoved();

    std::vector<Stroke> FStrokes;
};

// Puts the rule on the running application, and asks the X server to tell a held
// key's repeats from new presses.
void keepHeldKeysInTheirWindow();
