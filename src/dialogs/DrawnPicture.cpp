#include "DrawnPicture.h"

#include <QPainter>

QPixmap drawPicture(int Size, qreal DevicePixelRatio, const std::function<void(QPainter&)>& Draw)
{
    QPixmap pixmap(QSize(Size, Size) * DevicePixelRatio);
    pixmap.setDevicePixelRatio(DevicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    Draw(painter);
    return pixmap;
}
