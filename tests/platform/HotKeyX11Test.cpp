#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdlib>
#include <memory>

#include "SelectedTextProgram.h"
#include "WindowManager.h"
#include "XClip.h"
#include "platform/gui/ClipboardWatcher.h"
#include "platform/gui/HotKey.h"

using testing_support::copyWithXclip;
using testing_support::pasteWithXclip;
using testing_support::SelectedTextProgram;

namespace {

// Ctrl+Alt+Shift+J: a combination that no program on the test display uses.
const Qt::KeyboardModifiers testModifiers = Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier;

class X11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X11 display";
    }
    // Presses keys on the display as the user would (xdotool goes through XTest).
    static void typeKeys(const QString& keys) { ASSERT_EQ(QProcess::execute("xdotool", {"key", keys}), 0); }
};

// Grabs Ctrl+Alt+Shift+J as a second program would; true when the grab succeeded.
bool grabByAnotherClient(xcb_connection_t* other)
{
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(other)).data->root;
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(other);
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, 'j');
    const auto cookie = xcb_grab_key_checked(other, 1, root, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_SHIFT,
                                             codes ? codes[0] : 0, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    std::free(codes);
    xcb_key_symbols_free(symbols);
    xcb_generic_error_t* error = xcb_request_check(other, cookie);
    std::free(error);
    return error == nullptr;
}

} // namespace

TEST_F(X11, TheHotKeyArrivesWhateverTheLocksShow)
{
    std::unique_ptr<HotKey> hotKey = createSystemHotKey();
    ASSERT_TRUE(hotKey->registerHotKey(testModifiers, Qt::Key_J));
    QSignalSpy pressed(hotKey.get(), &HotKey::pressed);
    typeKeys("ctrl+alt+shift+j");
    EXPECT_TRUE(pressed.wait(3000));
    typeKeys("Caps_Lock");
    typeKeys("ctrl+alt+shift+j");
    EXPECT_TRUE(pressed.wait(3000)) << "with CapsLock on";
    typeKeys("Caps_Lock");

    pressed.clear();
    typeKeys("ctrl+shift+j"); // other combinations are not ours
    hotKey->unregisterHotKey();
    typeKeys("ctrl+alt+shift+j");
    EXPECT_FALSE(pressed.wait(500));
}

TEST_F(X11, AHotKeyHeldByAnotherProgramIsRefusedAndOursIsFreedAfterwards)
{
    std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> other(xcb_connect(nullptr, nullptr), &xcb_disconnect);
    ASSERT_TRUE(grabByAnotherClient(other.get()));
    EXPECT_FALSE(createSystemHotKey()->registerHotKey(testModifiers, Qt::Key_J));
    other.reset(); // the other program ends
    // The server frees the other's grab once it has seen that connection close.
    bool registered = false;
    for (int tries = 0; tries < 100 && !registered; ++tries)
        if (!(registered = createSystemHotKey()->registerHotKey(testModifiers, Qt::Key_J)))
            QTest::qWait(20);
    ASSERT_TRUE(registered);
    other.reset(xcb_connect(nullptr, nullptr)); // and starts again once ours is gone
    EXPECT_TRUE(grabByAnotherClient(other.get())) << "ours went with the hotkey";
}

TEST_F(X11, TheClipboardWatcherReportsWhatWasCopied)
{
    std::unique_ptr<ClipboardWatcher> watcher = createSystemClipboardWatcher();
    QSignalSpy changed(watcher.get(), &ClipboardWatcher::changed);
    watcher->join();
    ASSERT_TRUE(copyWithXclip("first line\nsecond"));
    ASSERT_TRUE(changed.wait(5000));
    EXPECT_EQ(watcher->text(), QStringLiteral("first line\nsecond"));
}

// A program that holds the clipboard and copies again announces nothing unless
// the clipboard was taken from it first; whoever holds it, what it held stays.
TEST_F(X11, AfterATakeOverEveryCopyIsReportedAndTheClipboardKeepsItsText)
{
    // Both programs are on show before the manager starts, which then takes them
    // in: openbox may leave a window alone that asked to be shown while it was
    // still starting.
    SelectedTextProgram keeping("first", true, SelectedTextProgram::Copies::KeepTheClipboard);
    SelectedTextProgram taking("first", true, SelectedTextProgram::Copies::TakeTheClipboard);
    ASSERT_NE(keeping.window(), 0u);
    ASSERT_NE(taking.window(), 0u);
    testing_support::WindowManager manager;
    ASSERT_TRUE(manager.ready());
    for (const SelectedTextProgram* other : {&keeping, &taking})
        ASSERT_TRUE(QTest::qWaitFor(
            [other] { return !testing_support::windowProperty(other->window(), "WM_STATE").isEmpty(); }, 20000));
    std::unique_ptr<ClipboardWatcher> watcher = createSystemClipboardWatcher();
    watcher->join();
    QSignalSpy changed(watcher.get(), &ClipboardWatcher::changed);
    for (SelectedTextProgram* other : {&keeping, &taking}) {
        SCOPED_TRACE(other == &keeping ? "keeps the clipboard" : "takes it each copy");
        ASSERT_TRUE(other->activate());
        typeKeys("ctrl+c");
        ASSERT_TRUE(changed.wait(5000));
        EXPECT_EQ(watcher->text(), "first");

        // The user selects the next line, the same line again, and another.
        QString held = "first";
        for (const QString next : {"second", "second", "third"}) {
            ASSERT_TRUE(other->select(next));
            changed.clear();
            watcher->takeOver();
            EXPECT_EQ(changed.count(), 0) << "our own taking is no copy";
            EXPECT_EQ(pasteWithXclip(), held) << "the user's clipboard is kept";
            typeKeys("ctrl+c");
            ASSERT_TRUE(changed.wait(5000)) << next.toStdString();
            EXPECT_EQ(watcher->text(), next);
            held = next;
        }
    }
    watcher->leave();
    changed.clear();
    ASSERT_TRUE(copyWithXclip("after leaving"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return watcher->text() == "after leaving"; }, 5000));
    EXPECT_EQ(changed.count(), 0);
}

TEST_F(X11, ATakeOverOffersEveryFormTheClipboardHeld)
{
    std::unique_ptr<ClipboardWatcher> watcher = createSystemClipboardWatcher();
    watcher->join();
    QSignalSpy changed(watcher.get(), &ClipboardWatcher::changed);
    ASSERT_TRUE(copyWithXclip("<b>bold</b> words", "text/html"));
    ASSERT_TRUE(changed.wait(5000));
    watcher->takeOver();
    EXPECT_EQ(pasteWithXclip("text/html"), "<b>bold</b> words");
    QStringList targets = pasteWithXclip("TARGETS").split('\n', Qt::SkipEmptyParts);
    EXPECT_TRUE(targets.contains("text/html")) << targets.join(' ').toStdString();
    EXPECT_EQ(targets.count("TARGETS"), 1) << "the selection's own questions are Qt's to answer";

    changed.clear();
    watcher->takeOver(); // ours already: nothing to take
    EXPECT_EQ(pasteWithXclip("text/html"), "<b>bold</b> words");
    EXPECT_EQ(changed.count(), 0);
}
