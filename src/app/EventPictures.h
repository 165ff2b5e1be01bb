#pragma once

#include "PictureList.h"

// The event list's pictures, drawn for the screen's pixel ratio.
// Reminder and repeat pictures, 32 x 32: index 0 a reminder, 2 a reminder on a
// repeating event, 4 a repeating event.
PictureList makeAlarmRepeatPictures(qreal devicePixelRatio);
// Importance pictures, 16 x 16: index 0 low, 2 high, 4 highest.
PictureList makePriorityPictures(qreal devicePixelRatio);
