#include "PictureList.h"

#include <QColor>
#include <QImage>

namespace {

// Grey, faded to half its opacity: reads as "off" next to the coloured pictures.
QPixmap greyedCopy(const QPixmap& picture)
{
    if (picture.isNull())
        return picture;
    QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = line[x];
            const int grey = 96 + qGray(pixel) / 2;
            line[x] = qRgba(grey, grey, grey, qAlpha(pixel) / 2);
        }
    }
    QPixmap greyed = QPixmap::fromImage(image);
    greyed.setDevicePixelRatio(picture.devicePixelRatio());
    return greyed;
}

} // namespace

PictureList::PictureList(QSize size) : FSize(size) {}

int PictureList::add(const QPixmap& picture)
{
    QPixmap normal = picture;
    if (!normal.isNull() && normal.deviceIndependentSize().toSize() != FSize) {
        const qreal ratio = normal.devicePixelRatio();
        normal = normal.scaled(FSize * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        normal.setDevicePixelRatio(ratio);
    }
    FPictures.push_back({normal, greyedCopy(normal)});
    return count() - 1;
}

QPixmap PictureList::picture(int index) const
{
    if (index < 0 || index >= count())
        return {};
    return FPictures[static_cast<size_t>(index)].normal;
}

QPixmap PictureList::disabledPicture(int index) const
{
    if (index < 0 || index >= count())
        return {};
    return FPictures[static_cast<size_t>(index)].greyed;
}
