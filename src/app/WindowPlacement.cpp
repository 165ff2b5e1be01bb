#include "WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int TitleBarHeight = 24; // about what window managers draw
constexpr int GrabWidth = 40;      // of the title bar, enough to take it with the mouse
// Far beyond any screen, as Qt's largest widget.
constexpr int MaxCoordinate = 1 << 24;

// Squared distance from Point to the nearest point of Area.
long long distanceSquared(const QPoint& Point, const QRect& Area)
{
    const long long dx = Point.x() < Area.left()    ? Area.left() - Point.x()
                         : Point.x() > Area.right() ? Point.x() - Area.right()
                                                    : 0;
    const long long dy = Point.y() < Area.top()      ? Area.top() - Point.y()
                         : Point.y() > Area.bottom() ? Point.y() - Area.bottom()
                                                     : 0;
    return dx * dx + dy * dy;
}

// Start clamped so that Length fits in [First, First + Room); the start of the room when it doesn't fit.
int clampInto(int Start, int Length, int First, int Room)
{
    return std::max(First, std::min(Start, First + Room - Length));
}

QRect titleBarOf(const QRect& Frame)
{
    return {Frame.topLeft(), QSize(Frame.width(), TitleBarHeight)};
}

// The first of Screens on which enough of Frame's title bar shows to take it with the mouse.
const QRect* screenShowingTitleBar(const QRect& Frame, const QList<QRect>& Screens)
{
    for (const QRect& screen : Screens) {
        const QRect shown = screen.intersected(titleBarOf(Frame));
        if (shown.width() >= std::min(GrabWidth, Frame.width()) && shown.height() >= TitleBarHeight / 2)
            return &screen;
    }
    return nullptr;
}

// The one of Screens (not empty) nearest to Frame's title bar.
const QRect& nearestScreen(const QRect& Frame, const QList<QRect>& Screens)
{
    const QPoint centre = titleBarOf(Frame).center();
    const QRect* nearest = &Screens.first();
    long long nearestDistance = std::numeric_limits<long long>::max();
    for (const QRect& screen : Screens) {
        const long long distance = distanceSquared(centre, screen);
        if (distance < nearestDistance) {
            nearest = &screen;
            nearestDistance = distance;
        }
    }
    return *nearest;
}

QSize sizeOf(const QMargins& Margins)
{
    return {Margins.left() + Margins.right(), Margins.top() + Margins.bottom()};
}

// What the window manager draws around Window; none before it has framed the window.
QMargins frameMarginsOf(const QWidget& Window)
{
    const QRect frame = Window.frameGeometry();
    const QRect client = Window.geometry();
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                           frame.bottom() - client.bottom());
    // At a fractional scale (1.25, 1.5) Qt rounds the margins, the screen and the
    // window to whole pixels of its own, each up to half a pixel off: a pixel more on
    // each side keeps the rounded frame within the screen.
    const qreal scale = Window.devicePixelRatioF();
    if (margins.isNull() || scale == std::floor(scale))
        return margins;
    return margins + QMargins(1, 1, 1, 1);
}

void fitWindow(QWidget& Window, const QPoint& TopLeft, const QSize& Size, Showing Shown)
{
    const QList<QRect> screens = availableScreenAreas();
    const QMargins margins = frameMarginsOf(Window);
    const QRect frame = fitFrameToScreen(TopLeft, Size.expandedTo(Window.minimumSize()), screens, margins);
    Window.resize(frame.size() - sizeOf(margins));
    const QRect resized(frame.topLeft(), Window.size() + sizeOf(margins));
    Window.move(Shown == Showing::Whole ? placeWhollyOnScreen(resized, screens)
                                        : placeWithTitleBarOnScreen(resized, screens));
}

// Fits its window again, once, when the window manager has put a frame around it.
class FitOnceFramed : public QObject {
public:
    static constexpr const char* Name = "fitOnceFramed";

    FitOnceFramed(QWidget& Window, Showing Shown) : QObject(&Window), FWindow(Window), FShown(Shown)
    {
        setObjectName(QLatin1String(Name));
        Window.installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* Event) override
    {
        // Framing moves the window's client area into the frame.
        const bool changed = Event->type() == QEvent::Move || Event->type() == QEvent::Resize;
        if (changed && FWindow.isVisible() && !frameMarginsOf(FWindow).isNull()) {
            FWindow.removeEventFilter(this);
            deleteLater();
            fitWindow(FWindow, FWindow.pos(), FWindow.size(), FShown);
        }
        return false;
    }

private:
    QWidget& FWindow;
    const Showing FShown;
};

} // namespace

QList<QRect> availableScreenAreas()
{
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas << screen->availableGeometry();
    return areas;
}

QPoint placeWithTitleBarOnScreen(const QRect& Frame, const QList<QRect>& Screens)
{
    const QRect* screen = screenShowingTitleBar(Frame, Screens);
    if (screen || Screens.isEmpty())
        return Frame.topLeft();
    const QRect& nearest = nearestScreen(Frame, Screens);
    return {clampInto(Frame.left(), Frame.width(), nearest.left(), nearest.width()),
            clampInto(Frame.top(), Frame.height(), nearest.top(), nearest.height())};
}

QPoint placeWhollyOnScreen(const QRect& Frame, const QList<QRect>& Screens)
{
    if (Screens.isEmpty())
        return Frame.topLeft();
    const QRect* shown = screenShowingTitleBar(Frame, Screens);
    const QRect& screen = shown ? *shown : nearestScreen(Frame, Screens);
    return {clampInto(Frame.left(), Frame.width(), screen.left(), screen.width()),
            clampInto(Frame.top(), Frame.height(), screen.top(), screen.height())};
}

QRect fitFrameToScreen(const QPoint& TopLeft, const QSize& Size, const QList<QRect>& Screens, const QMargins& Margins)
{
    // Kept where sums of place and size can't overflow.
    const QRect frame(QPoint(std::clamp(TopLeft.x(), -MaxCoordinate, MaxCoordinate),
                             std::clamp(TopLeft.y(), -MaxCoordinate, MaxCoordinate)),
                      QSize(std::clamp(Size.width(), 0, MaxCoordinate), std::clamp(Size.height(), 0, MaxCoordinate)) +
                          sizeOf(Margins));
    if (Screens.isEmpty())
        return frame;
    const QRect* shown = screenShowingTitleBar(frame, Screens);
    const QRect& screen = shown ? *shown : nearestScreen(frame, Screens);
    QRect fitted = frame;
    if (frame.width() > screen.width()) {
        fitted.moveLeft(screen.left());
        fitted.setWidth(screen.width());
    }
    if (frame.height() > screen.height()) {
        fitted.moveTop(screen.top());
        fitted.setHeight(screen.height());
    }
    return fitted;
}

void placeWindowOnScreen(QWidget& Window, const QPoint& TopLeft, const QSize& Size, Showing Shown)
{
    fitWindow(Window, TopLeft, Size, Shown);
    delete Window.findChild<QObject*>(QLatin1String(FitOnceFramed::Name), Qt::FindDirectChildrenOnly);
    new FitOnceFramed(Window, Shown);
}
