#include "EventPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "dialogs/DrawnPicture.h"
#include "dialogs/ImportancePictures.h"

namespace {

// A bell in a 32 x 32 frame.
void drawBell(QPainter& painter)
{
    QPainterPath body;
    body.moveTo(5.5, 24);
    body.cubicTo(8.5, 21.5, 9, 18, 9, 14.5);
    body.cubicTo(9, 9.5, 12, 6.5, 16, 6.5);
    body.cubicTo(20, 6.5, 23, 9.5, 23, 14.5);
    body.cubicTo(23, 18, 23.5, 21.5, 26.5, 24);
    body.closeSubpath();

    QLinearGradient gold(9, 0, 24, 0);
    gold.setColorAt(0, QColor(0xFF, 0xE0, 0x82));
    gold.setColorAt(1, QColor(0xF9, 0xA8, 0x25));
    const QPen outline(QColor(0x8A, 0x5A, 0x00), 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);

    painter.setPen(outline);
    painter.setBrush(QColor(0xC7, 0x7C, 0x02));
    painter.drawEllipse(QPointF(16, 26.5), 2.6, 2.6); // clapper
    painter.drawEllipse(QPointF(16, 5), 1.8, 1.8);    // loop on top
    painter.setBrush(gold);
    painter.drawPath(body);
    painter.drawRoundedRect(QRectF(4.5, 22.5, 23, 3.2), 1.6, 1.6); // rim
}

// Two arrows chasing each other round a circle centred at centre.
void drawRepeatArrows(QPainter& painter, QPointF centre, qreal radius, qreal width, const QColor& colour)
{
    const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(Qt::NoBrush);
    // Angles in sixteenths of a degree, counter-clockwise from three o'clock.
    painter.drawArc(circle, 30 * 16, 125 * 16);
    painter.drawArc(circle, 210 * 16, 125 * 16);

    // Arrow heads at the leading ends (155 and 335 degrees), pointing along the circle.
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    for (qreal degrees : {155.0, 335.0}) {
        painter.save();
        painter.translate(centre);
        painter.rotate(-degrees);
        const qreal head = width * 1.35;
        const QPointF tip(radius, head * 1.1);
        painter.drawPolygon(QPolygonF({QPointF(radius - head, 0), QPointF(radius + head, 0), tip}));
        painter.restore();
    }
}

} // namespace

PictureList makeAlarmRepeatPictures(qreal devicePixelRatio)
{
    const QColor blue(0x1E, 0x78, 0xD2);
    PictureList list(QSize(32, 32));
    // 0: reminder
    list.add(drawPicture(32, devicePixelRatio, drawBell));
    list.add({});
    // 2: reminder and repeated dates: the bell with a small repeat badge
    list.add(drawPicture(32, devicePixelRatio, [&](QPainter& painter) {
        painter.save();
        painter.translate(-2, -2);
        drawBell(painter);
        painter.restore();
        painter.setPen(QPen(Qt::white, 1));
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPointF(24.5, 24.5), 7.5, 7.5);
        drawRepeatArrows(painter, QPointF(24.5, 24.5), 4.6, 2.2, blue);
    }));
    list.add({});
    // 4: repeated dates
    list.add(drawPicture(32, devicePixelRatio,
                         [&](QPainter& painter) { drawRepeatArrows(painter, QPointF(16, 16), 9, 3.4, blue); }));
    list.add({});
    return list;
}

PictureList makePriorityPictures(qreal devicePixelRatio)
{
    PictureList list(QSize(16, 16));
    for (TEventImportance importance : {eiLow, eiHigh, eiHighest}) {
        list.add(importancePicture(importance, devicePixelRatio));
        list.add({});
    }
    return list;
}
