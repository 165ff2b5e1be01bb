#pragma once

#include <QColor>
#include <QImage>
#include <QMenu>
#include <QPoint>
#include <QString>

class QWidget;

namespace controls_test {

// Renders widget and writes it to <folder>/<name>.png, the folder being
// $QUILLET_SCREENSHOTS when set, else a folder in the system's temp folder.
QImage screenshot(QWidget& widget, const QString& name);

// The menu that is open now, if any, and its items' captions.
QMenu* openMenu();
QStringList captions(const QMenu* menu);

// Triggers the item with this caption in menu or one of its submenus (path like
// "p.m./12"), then closes the menu as a click on an item would.
void choose(QMenu* menu, const QString& path);

// Closes the open menu without a choice and lets queued work run.
void dismissOpenMenu();

// The part of image in rect that is not the colour background: its bounding box.
QRect inkBounds(const QImage& image, const QRect& rect, const QColor& background);

bool sameColour(QRgb pixel, const QColor& colour, int tolerance = 0);

} // namespace controls_test
