#pragma once

#include <QPixmap>

// The reminder pop-up's emblem, 64 x 64: a ringing bell.
QPixmap notifyEmblemPicture();
