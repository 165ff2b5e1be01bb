#pragma once

// The main window on a real X server that openbox (or another manager a subclass
// names) manages, as on a user's desktop.

#include <optional>

#include "AppTestSupport.h"
#include "WindowManager.h"

namespace app_testing {

class ManagedMainWindowTest : public MainWindowTest {
protected:
    // Skipped off X11; a fatal failure when the manager does not start. Subclasses
    // call it first and return when it skipped or failed.
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X11 display";
        manager.emplace(managerProgram, managerArguments);
        ASSERT_TRUE(manager->ready()) << managerProgram.toStdString() << " did not start";
        start();
    }
    void TearDown() override
    {
        window.reset(); // before its manager goes
        manager.reset();
    }

    QString managerProgram = "openbox"; // a subclass's constructor may name another
    QStringList managerArguments{"--sm-disable"};
    std::optional<testing_support::WindowManager> manager;
};

} // namespace app_testing
