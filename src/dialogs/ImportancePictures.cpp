#include "ImportancePictures.h"

#include <QPainter>
#include <QPainterPath>

#include "DrawnPicture.h"

namespace {

// An arrow of a 16 x 16 frame, pointing up (or down).
QPainterPath arrowPath(bool up)
{
    QPainterPath path;
    path.moveTo(8, 1.5);
    path.lineTo(14.5, 8);
    path.lineTo(10.5, 8);
    path.lineTo(10.5, 14.5);
    path.lineTo(5.5, 14.5);
    path.lineTo(5.5, 8);
    path.lineTo(1.5, 8);
    path.closeSubpath();
    if (!up)
        path = QTransform(1, 0, 0, -1, 0, 16).map(path);
    return path;
}

// A chevron pointing up with its tip at y = top, in a 16 x 16 frame.
QPainterPath chevronPath(qreal top)
{
    QPainterPath path;
    path.moveTo(8, top);
    path.lineTo(14.5, top + 6.5);
    path.lineTo(14.5, top + 9);
    path.lineTo(8, top + 4);
    path.lineTo(1.5, top + 9);
    path.lineTo(1.5, top + 6.5);
    path.closeSubpath();
    return path;
}

void fillWithOutline(QPainter& painter, const QPainterPath& path, const QColor& fill)
{
    painter.setPen(QPen(fill.darker(150), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(fill);
    painter.drawPath(path);
}

} // namespace

QPixmap importancePicture(TEventImportance Importance, qreal DevicePixelRatio)
{
    switch (Importance) {
    case eiLow:
        return drawPicture(16, DevicePixelRatio, [](QPainter& painter) {
            fillWithOutline(painter, arrowPath(false), QColor(0x42, 0x8B, 0xE0));
        });
    case eiHigh:
        return drawPicture(16, DevicePixelRatio, [](QPainter& painter) {
            fillWithOutline(painter, arrowPath(true), QColor(0xF5, 0x8A, 0x07));
        });
    case eiHighest:
        return drawPicture(16, DevicePixelRatio, [](QPainter& painter) {
            const QColor red(0xE0, 0x22, 0x22);
            fillWithOutline(painter, chevronPath(1), red);
            fillWithOutline(painter, chevronPath(6.5), red);
        });
    case eiNormal:
        break;
    }
    return {};
}
