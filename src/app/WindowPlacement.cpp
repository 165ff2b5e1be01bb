#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <limits>

namespace {

constexpr int TitleBarHeight = 24; // about what window managers draw
constexpr int GrabWidth = 40;      // of the title bar, enough to take it with the mouse

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
    const QRect titleBar(Frame.topLeft(), QSize(Frame.width(), TitleBarHeight));
    for (const QRect& screen : Screens) {
        const QRect shown = screen.intersected(titleBar);
        if (shown.width() >= std::min(GrabWidth, Frame.width()) && shown.height() >= TitleBarHeight / 2)
            return Frame.topLeft();
    }
    if (Screens.isEmpty())
        return Frame.topLeft();

    const QRect* nearest = &Screens.first();
    long long nearestDistance = std::numeric_limits<long long>::max();
    for (const QRect& screen : Screens) {
        const long long distance = distanceSquared(titleBar.center(), screen);
        if (distance < nearestDistance) {
            nearest = &screen;
            nearestDistance = distance;
        }
    }
    return {clampInto(Frame.left(), Frame.width(), nearest->left(), nearest->width()),
            clampInto(Frame.top(), Frame.height(), nearest->top(), nearest->height())};
}
