#pragma once

#include <QPixmap>

#include "events/Event.h"

// The picture of an importance level, 16 x 16 logical pixels, as the event list
// and the reminder pop-up show it: an arrow down for low, an arrow up for high,
// a double chevron for highest. Normal importance has none (a null picture).
QPixmap importancePicture(TEventImportance Importance, qreal DevicePixelRatio = 1.0);
