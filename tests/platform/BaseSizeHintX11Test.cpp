// Every window tells the window manager a base size it can count from. At a scale
// factor Qt's own is negative, and fluxbox made such windows 65534 pixels square.
#include <QDialog>
#include <QProcess>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <string>

#include "platform/gui/BaseSizeHint.h"

namespace {

// The base size as the X server holds it for Window, as xprop prints it.
std::string announcedBaseSize(QWidget& Window)
{
    QProcess xprop;
    xprop.start("xprop", {"-id", QString::number(Window.winId()), "WM_NORMAL_HINTS"});
    xprop.waitForFinished(5000);
    for (const QString& line : QString::fromUtf8(xprop.readAllStandardOutput()).split('\n'))
        if (line.contains("base size:"))
            return line.section(':', 1).trimmed().toStdString();
    return {};
}

TEST(BaseSizeHint, EveryWindowShownCountsItsSizeFromZero)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X11 display";
    keepBaseSizeHintsValid();
    // A step in the size makes Qt announce its base size, as a scale factor does.
    const auto shown = [](QWidget& window) {
        window.setMinimumSize(200, 100);
        window.winId();
        window.windowHandle()->setSizeIncrement(QSize(2, 2));
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        return announcedBaseSize(window);
    };
    QWidget plain;
    EXPECT_EQ(shown(plain), "0 by 0");
    QDialog owned(&plain);
    EXPECT_EQ(shown(owned), "0 by 0");
    // New flags make the window anew, without a base size of its own.
    QWidget remade;
    shown(remade);
    remade.setWindowFlags(Qt::Tool);
    EXPECT_EQ(shown(remade), "0 by 0");
}

} // namespace
