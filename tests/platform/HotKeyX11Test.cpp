#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QProcess>
#include <QSignalSpy>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdlib>

#include "platform/gui/ClipboardWatcher.h"
#include "platform/gui/HotKey.h"

namespace {

bool onX11()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

// A combination no program on the shared test display uses (Quillet itself takes Ctrl+Shift+E).
const Qt::KeyboardModifiers testModifiers = Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier;
constexpr Qt::Key testKey = Qt::Key_J;

// Presses keys on the display as the user would (xdotool goes through XTest).
void typeKeys(const QString& keys)
{
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), keys}), 0);
}

// Another X11 client that grabs the combination first, as a second program would.
class OtherClient {
public:
    OtherClient() : FConnection(xcb_connect(nullptr, nullptr))
    {
        FRoot = xcb_setup_roots_iterator(xcb_get_setup(FConnection)).data->root;
        xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(FConnection);
        xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, 'j');
        FKeycode = codes ? codes[0] : 0;
        std::free(codes);
        xcb_key_symbols_free(symbols);
    }
    ~OtherClient() { xcb_disconnect(FConnection); }

    bool grab()
    {
        auto cookie =
            xcb_grab_key_checked(FConnection, 1, FRoot, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_SHIFT,
                                 FKeycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        xcb_generic_error_t* error = xcb_request_check(FConnection, cookie);
        std::free(error);
        return error == nullptr;
    }

private:
    xcb_connection_t* FConnection;
    xcb_window_t FRoot = 0;
    xcb_keycode_t FKeycode = 0;
};

} // namespace

TEST(HotKeyX11, TheCombinationArrivesWhateverTheLocksShow)
{
    if (!onX11())
        GTEST_SKIP() << "needs an X11 display";
    std::unique_ptr<HotKey> hotKey = createSystemHotKey();
    ASSERT_TRUE(hotKey->registerHotKey(testModifiers, testKey));
    QSignalSpy pressed(hotKey.get(), &HotKey::pressed);

    typeKeys(QStringLiteral("ctrl+alt+shift+j"));
    EXPECT_TRUE(pressed.wait(3000));

    typeKeys(QStringLiteral("Caps_Lock"));
    typeKeys(QStringLiteral("ctrl+alt+shift+j"));
    EXPECT_TRUE(pressed.wait(3000)) << "with CapsLock on";
    typeKeys(QStringLiteral("Caps_Lock"));

    // Other combinations are not ours.
    pressed.clear();
    typeKeys(QStringLiteral("ctrl+shift+j"));
    typeKeys(QStringLiteral("ctrl+alt+shift+k"));
    EXPECT_FALSE(pressed.wait(500));

    hotKey->unregisterHotKey();
    typeKeys(QStringLiteral("ctrl+alt+shift+j"));
    EXPECT_FALSE(pressed.wait(500));
}

TEST(HotKeyX11, ACombinationHeldByAnotherProgramIsRefusedAndFreedAfterwards)
{
    if (!onX11())
        GTEST_SKIP() << "needs an X11 display";
    {
        OtherClient other;
        ASSERT_TRUE(other.grab());
        std::unique_ptr<HotKey> hotKey = createSystemHotKey();
        EXPECT_FALSE(hotKey->registerHotKey(testModifiers, testKey));
    }
    // Ours is released again when the hotkey goes away, so the other program can have it.
    {
        std::unique_ptr<HotKey> hotKey = createSystemHotKey();
        ASSERT_TRUE(hotKey->registerHotKey(testModifiers, testKey));
    }
    OtherClient other;
    EXPECT_TRUE(other.grab());
}

TEST(ClipboardWatcherX11, ReportsChangesOnlyWhileJoined)
{
    if (!onX11())
        GTEST_SKIP() << "needs an X11 display";
    ClipboardWatcher watcher;
    QSignalSpy changed(&watcher, &ClipboardWatcher::changed);
    auto copyWithXclip = [](const QByteArray& text) {
        QProcess xclip;
        xclip.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard")});
        xclip.write(text);
        xclip.closeWriteChannel();
        return xclip.waitForFinished(5000);
    };

    watcher.join();
    ASSERT_TRUE(copyWithXclip("first line\nsecond"));
    ASSERT_TRUE(changed.wait(3000));
    EXPECT_EQ(ClipboardWatcher::text(), QStringLiteral("first line\nsecond"));

    watcher.leave();
    changed.clear();
    ASSERT_TRUE(copyWithXclip("not seen"));
    EXPECT_FALSE(changed.wait(500));
}
