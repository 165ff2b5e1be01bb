#include "NotifyPictures.h"

#include <QPainter>
#include <QPainterPath>

namespace {

QPixmap transparentPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// An arrow in a 16 x 16 square, pointing up or down, centred on column x.
void drawArrow(QPainter& painter, qreal x, bool up, const QColor& colour)
{
    QPainterPath path;
    if (up) {
        path.moveTo(x, 1.5);
        path.lineTo(x + 5, 7.5);
        path.lineTo(x + 2, 7.5);
        path.lineTo(x + 2, 14.5);
        path.lineTo(x - 2, 14.5);
        path.lineTo(x - 2, 7.5);
        path.lineTo(x - 5, 7.5);
    } else {
        path.moveTo(x, 14.5);
        path.lineTo(x + 5, 8.5);
        path.lineTo(x + 2, 8.5);
        path.lineTo(x + 2, 1.5);
        path.lineTo(x - 2, 1.5);
        path.lineTo(x - 2, 8.5);
        path.lineTo(x - 5, 8.5);
    }
    path.closeSubpath();
    painter.setPen(QPen(colour.darker(140), 1));
    painter.setBrush(colour);
    painter.drawPath(path);
}

} // namespace

QPixmap notifyEmblemPicture()
{
    QPixmap pixmap = transparentPixmap(64);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

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
    return pixmap;
}

QPixmap priorityPicture(int Index)
{
    QPixmap pixmap = transparentPixmap(16);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (Index) {
    case 0: // low
        drawArrow(painter, 8, false, QColor(0x2E, 0x6F, 0xD8));
        break;
    case 2: // high
        drawArrow(painter, 8, true, QColor(0xE0, 0x3A, 0x2A));
        break;
    case 4: // highest: a red disc with an exclamation mark
        painter.setPen(QPen(QColor(0x9A, 0x10, 0x10), 1));
        painter.setBrush(QColor(0xE0, 0x20, 0x20));
        painter.drawEllipse(QRectF(0.5, 0.5, 15, 15));
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawRoundedRect(QRectF(6.75, 3, 2.5, 7), 1, 1);
        painter.drawEllipse(QRectF(6.75, 11, 2.5, 2.5));
        break;
    default:
        break;
    }
    return pixmap;
}
