#pragma once

// Screenshots, menus and error reports for the controls' tests.

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/gui/ErrorReport.h"

namespace controls_test {

// What a control told its owner, in order.
using Log = std::vector<std::string>;

// Writes the widget's picture to $QUILLET_SCREENSHOTS (else a temporary folder) as name.png.
inline QImage screenshot(QWidget& widget, const QString& name)
{
    QDir folder(qEnvironmentVariable("QUILLET_SCREENSHOTS", QDir::temp().filePath("quillet-screenshots")));
    folder.mkpath(".");
    const QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    image.save(folder.filePath(name + ".png"));
    return image;
}

// The bounding box of what differs from the background colour in rect; antialiasing's
// faint fringe is not counted.
inline QRect inkBounds(const QImage& image, const QRect& rect, QRgb background)
{
    QRect bounds;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (qAbs(qGray(image.pixel(x, y)) - qGray(background)) > 8)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

inline QMenu* openMenu()
{
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

// The captions of the menu's items, joined by spaces.
inline QString captions(const QMenu* menu)
{
    QStringList result;
    for (const QAction* item : menu->actions())
        result << item->text();
    return result.join(' ');
}

// Triggers the item at path ("p.m./12": an item of a submenu) of the open menu, then
// closes the menu as a click on an item would.
inline void choose(const QString& path)
{
    QMenu* menu = openMenu();
    ASSERT_NE(menu, nullptr) << "no menu open for " << path.toStdString();
    QAction* item = menu->menuAction();
    for (const QString& step : path.split('/')) {
        const QList<QAction*> items = item->menu() ? item->menu()->actions() : QList<QAction*>();
        const auto found = std::find_if(items.begin(), items.end(), [&](QAction* a) { return a->text() == step; });
        ASSERT_NE(found, items.end()) << "no item " << path.toStdString();
        item = *found;
    }
    item->trigger();
    menu->close();
    QApplication::processEvents();
}

// Closes the open menu without a choice and lets queued work run.
inline void dismissOpenMenu()
{
    if (QMenu* menu = openMenu())
        menu->close();
    QApplication::processEvents();
}

// Collects the texts of the error reports shown while it lives.
struct ReportCollector {
    ReportCollector()
    {
        setMessageSinkForTests([this](const QString& text) { texts << text; });
    }
    ~ReportCollector() { setMessageSinkForTests(nullptr); }
    QStringList texts;
};

} // namespace controls_test
