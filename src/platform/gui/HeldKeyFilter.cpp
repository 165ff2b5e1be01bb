#include "HeldKeyFilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

#include <algorithm>

#include "X11Keyboard.h"

namespace {

// The window a widget's keys belong to. A pop-up (a menu, a list of choices) is part
// of the window that opened it: keys typed on while it shows stay there.
QWidget* keyWindow(QWidget* Widget)
{
    QWidget* window = Widget->window();
    while (window->windowType() == Qt::Popup && window->parentWidget())
        window = window->parentWidget()->window();
    if (window->windowType() == Qt::Popup && QApplication::activeWindow())
        return QApplication::activeWindow();
    return window;
}

} // namespace

HeldKeyFilter::HeldKeyFilter(QObject* parent) : QObject(parent)
{
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this] { focusMoved(); });
}

bool HeldKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    // A press is offered to the shortcuts first, as ShortcutOverride: a dropped repeat
    // must not trigger one either. The window's own copy of each event is left alone;
    // the widgets' copies (the focus widget's, then its parents') are judged.
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride) ||
        !watched->isWidgetType())
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (!dropped(*key, keyWindow(static_cast<QWidget*>(watched))))
        return false;
    key->accept(); // an accepted ShortcutOverride keeps the shortcuts out
    return true;
}

HeldKeyFilter::Stroke* HeldKeyFilter::strokeOf(const QKeyEvent& Event)
{
    // The same key gives another Qt key with another shift state; its scan code stays.
    const auto same = [&Event](const Stroke& stroke) {
        return Event.nativeScanCode() != 0 ? stroke.scanCode == Event.nativeScanCode() : stroke.key == Event.key();
    };
    const auto found = std::find_if(FStrokes.begin(), FStrokes.end(), same);
    return found == FStrokes.end() ? nullptr : &*found;
}

// Judged once for each widget that the event passes, so a judgement leaves the same
// answer for the next one: the focus widget's parents lie in its window.
bool HeldKeyFilter::dropped(const QKeyEvent& Event, QWidget* Window)
{
    Stroke* stroke = strokeOf(Event);
    if (Event.type() != QEvent::KeyRelease) {
        // The X server gives both halves of a repeat that comes as a release and a press
        // one time, however late the press arrives.
        const bool repeats = stroke && (stroke->down || Event.isAutoRepeat() ||
                                        (Event.timestamp() != 0 && Event.timestamp() == stroke->releaseTime));
        if (!repeats) {
            const Stroke pressed{Event.nativeScanCode(), Event.key(), Window, true, false, 0};
            if (stroke)
                *stroke = pressed;
            else
                FStrokes.push_back(pressed);
            return false;
        }
        stroke->down = true;
    } else if (!stroke || !stroke->down) {
        return false; // pressed before the program had the keyboard, or let go before
    } else if (!Event.isAutoRepeat()) {
        stroke->down = false;
        stroke->releaseTime = Event.timestamp();
    }
    if (stroke->window != Window)
        stroke->orphaned = true;
    return stroke->orphaned;
}

void HeldKeyFilter::focusMoved()
{
    // Another program has the keyboard: the keys held now are let go there, unseen.
    if (!QGuiApplication::focusWindow()) {
        FStrokes.clear();
        return;
    }
    for (Stroke& stroke : FStrokes)
        stroke.orphaned = stroke.orphaned || stroke.down;
}

void keepHeldKeysInTheirWindow()
{
    setDetectableAutoRepeat(true);
    qGuiApp->installEventFilter(new HeldKeyFilter(qGuiApp));
}
