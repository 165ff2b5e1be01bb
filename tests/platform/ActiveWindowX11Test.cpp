// Which window is active, and typing keys into it, on the test run's display with
// and without a window manager.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QScopeGuard>
#include <QTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

#include "SelectedTextProgram.h"
#include "WindowManager.h"
#include "platform/gui/ActiveWindow.h"
#include "platform/gui/KeySynthesizer.h"

using testing_support::SelectedTextProgram;
using testing_support::WindowManager;

namespace {

class ActiveWindowX11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X11 display";
    }
    // A line edit of this program with the keyboard focus.
    static void focus(QLineEdit& edit)
    {
        edit.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
        edit.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&edit));
        edit.setFocus();
    }

    std::unique_ptr<ActiveWindowQuery> query = createSystemActiveWindowQuery();
};

TEST_F(ActiveWindowX11, UnderAWindowManagerItIsTheOneTheManagerActivated)
{
    WindowManager manager;
    ASSERT_TRUE(manager.ready());
    SelectedTextProgram other("copied");
    ASSERT_NE(other.window(), 0u);
    ASSERT_TRUE(other.activate());
    EXPECT_TRUE(QTest::qWaitFor([&] { return query->activeWindow() == other.window(); }, 5000));
    EXPECT_FALSE(isOwnWindow(other.window()));

    QLineEdit ours;
    focus(ours);
    EXPECT_TRUE(QTest::qWaitFor([&] { return query->activeWindow() == ours.winId(); }, 5000));
    EXPECT_TRUE(isOwnWindow(query->activeWindow()));
}

TEST_F(ActiveWindowX11, WithoutAManagerItIsTheInputFocusEvenWhereOneWasKilled)
{
    // A manager killed outright leaves its root properties behind, naming windows gone.
    ASSERT_FALSE(testing_support::windowManagerRuns());
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const auto setWindowProperty = [&](const char* name, xcb_window_t value) {
        xcb_intern_atom_reply_t* atom =
            xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr);
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, root, atom->atom, XCB_ATOM_WINDOW, 32, 1, &value);
        std::free(atom);
    };
    const xcb_window_t gone = xcb_generate_id(connection);
    setWindowProperty("_NET_SUPPORTING_WM_CHECK", gone);
    setWindowProperty("_NET_ACTIVE_WINDOW", gone);
    xcb_flush(connection);
    const auto cleanUp = qScopeGuard([&] {
        QProcess::execute("xprop", {"-root", "-remove", "_NET_SUPPORTING_WM_CHECK", "-remove", "_NET_ACTIVE_WINDOW"});
        xcb_disconnect(connection);
    });

    QLineEdit ours;
    focus(ours);
    EXPECT_EQ(query->activeWindow(), ours.winId());
    EXPECT_TRUE(isOwnWindow(ours.winId()));
    EXPECT_FALSE(isOwnWindow(0));
}

TEST_F(ActiveWindowX11, TypedKeysReachTheFocusedWindowWithTheirModifiers)
{
    QLineEdit edit;
    focus(edit);
    std::unique_ptr<KeySynthesizer> keys = createSystemKeySynthesizer();
    ASSERT_TRUE(keys->sendKeys({{Qt::Key_Shift, true},
                                {Qt::Key_Q, true},
                                {Qt::Key_Q, false},
                                {Qt::Key_Shift, false},
                                {Qt::Key_7, true},
                                {Qt::Key_7, false}}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return edit.text() == "Q7"; }, 5000)) << edit.text().toStdString();
    EXPECT_FALSE(keys->sendKeys({{Qt::Key_F35, true}})) << "a key the keyboard lacks is refused";
}

} // namespace
