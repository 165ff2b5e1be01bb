#pragma once

// The end of a start-up measurement, shared by Quillet's start and the bare Qt
// window it is compared with; it needs Qt Widgets alone.

#include <QApplication>
#include <QWidget>

#include <unistd.h>

#include <cstdio>

namespace bench_support {

// Notes the first paint of any widget of one window.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(const QWidget* Window) : FWindow(Window) {}
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == FWindow)
            painted = true;
        return false;
    }

private:
    const QWidget* FWindow;
};

// Shows the window unless it shows already, waits for its first paint, writes
// "painted" to the standard output and ends the process: the measurement is
// over, no tidying up.
[[noreturn]] inline void showUntilFirstPaint(QWidget& window)
{
    FirstPaint watcher(&window);
    QApplication::instance()->installEventFilter(&watcher);
    if (!window.isVisible())
        window.show();
    while (!watcher.painted)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    std::fputs("painted\n", stdout);
    std::fflush(stdout);
    _exit(0);
}

} // namespace bench_support
