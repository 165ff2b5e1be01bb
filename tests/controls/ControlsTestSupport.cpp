#include "ControlsTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>

namespace controls_test {

QImage screenshot(QWidget& widget, const QString& name)
{
    QString folder = qEnvironmentVariable("QUILLET_SCREENSHOTS");
    if (folder.isEmpty())
        folder = QDir::temp().filePath(QStringLiteral("quillet-screenshots"));
    QDir().mkpath(folder);
    const QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    image.save(QDir(folder).filePath(name + QStringLiteral(".png")));
    return image;
}

QMenu* openMenu()
{
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

QStringList captions(const QMenu* menu)
{
    QStringList result;
    for (const QAction* item : menu->actions())
        result << item->text();
    return result;
}

void choose(QMenu* menu, const QString& path)
{
    ASSERT_NE(menu, nullptr);
    QMenu* level = menu;
    const QStringList steps = path.split(QLatin1Char('/'));
    for (int i = 0; i < steps.size(); ++i) {
        QAction* found = nullptr;
        for (QAction* action : level->actions())
            if (action->text() == steps[i])
                found = action;
        ASSERT_NE(found, nullptr) << "no item " << steps[i].toStdString() << " in " << path.toStdString();
        if (i + 1 < steps.size()) {
            ASSERT_NE(found->menu(), nullptr);
            level = found->menu();
        } else {
            ASSERT_EQ(found->menu(), nullptr);
            found->trigger();
        }
    }
    menu->close();
    QApplication::processEvents();
}

void dismissOpenMenu()
{
    if (QMenu* menu = openMenu())
        menu->close();
    QApplication::processEvents();
}

QRect inkBounds(const QImage& image, const QRect& rect, const QColor& background)
{
    QRect bounds;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (!sameColour(image.pixel(x, y), background, 8))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

bool sameColour(QRgb pixel, const QColor& colour, int tolerance)
{
    return std::abs(qRed(pixel) - colour.red()) <= tolerance && std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
           std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

} // namespace controls_test
