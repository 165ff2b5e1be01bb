#pragma once

#include <QPixmap>

#include <functional>

class QPainter;

// A transparent picture of Size x Size logical pixels, made for the screen's
// pixel ratio and painted, antialiased, by Draw in logical units.
QPixmap drawPicture(int Size, qreal DevicePixelRatio, const std::function<void(QPainter&)>& Draw);
