#pragma once

#include <QPixmap>

// The reminder pop-up's emblem, 64 x 64: a ringing bell.
QPixmap notifyEmblemPicture();

// The importance pictures, 16 x 16, by their place in the importance picture list:
// 0 low, 2 high, 4 highest. Any other index gives an empty picture.
QPixmap priorityPicture(int Index);
