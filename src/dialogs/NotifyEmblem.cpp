#include "NotifyEmblem.h"

#include <QPainter>
#include <QPainterPath>

#include "DrawnPicture.h"

QPixmap notifyEmblemPicture()
{
    return drawPicture(64, 1.0, [](QPainter& painter) {
        // Bell body: a dome widening into a flared rim.
        QPainterPath bell;
        bell.moveTo(14, 46);
        bell.cubicTo(20, 40, 18, 30, 20, 22);
        bell.cubicTo(22, 12, 42, 12, 44, 22);
        bell.cubicTo(46, 30, 44, 40, 50, 46);
        bell.closeSubpath();
        QLinearGradient gold(14, 0, 50, 0);
        gold.setColorAt(0, QColor(0xF6, 0xC7, 0x3B));
        gold.setColorAt(0.4, QColor(0xFF, 0xE8, 0x8A));
        gold.setColorAt(1, QColor(0xD9, 0x9A, 0x16));
        painter.setPen(QPen(QColor(0x8A, 0x5A, 0x00), 2));
        painter.setBrush(gold);
        painter.drawPath(bell);

        // Rim, handle and clapper.
        painter.drawRoundedRect(QRectF(11, 45, 42, 6), 3, 3);
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRectF(28, 9, 8, 6));
        painter.setBrush(QColor(0x8A, 0x5A, 0x00));
        painter.drawEllipse(QRectF(28, 51, 8, 8));

        // Ringing strokes on both sides.
        painter.setPen(QPen(QColor(0xC0, 0x30, 0x20), 2.5, Qt::SolidLine, Qt::RoundCap));
        painter.setBrush(Qt::NoBrush);
        painter.drawArc(QRectF(2, 16, 16, 24), 110 * 16, 140 * 16);
        painter.drawArc(QRectF(46, 16, 16, 24), -70 * 16, 140 * 16);
        painter.drawArc(QRectF(6, 20, 10, 16), 110 * 16, 140 * 16);
        painter.drawArc(QRectF(48, 20, 10, 16), -70 * 16, 140 * 16);
    });
}
