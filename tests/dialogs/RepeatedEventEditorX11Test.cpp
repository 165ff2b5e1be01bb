// The month-days grid under real mouse clicks from the X server: the second press
// of a double click arrives as a double-click event alone, and must toggle the day
// as every click does.
#include <QCursor>
#include <QGuiApplication>
#include <QStyleHints>
#include <QProcess>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include "WindowManager.h"
#include "dialogs/MonthDaysGrid.h"
#include "dialogs/RepeatedEventEditor.h"

namespace {

// Runs xdotool while this program goes on handling the events it causes.
bool xdotool(const QStringList& arguments)
{
    QProcess process;
    process.start("xdotool", arguments);
    if (!process.waitForStarted())
        return false;
    if (!QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 10000))
        return false;
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace

TEST(RepeatedEventEditorX11, EveryRealClickOnAGridCellTogglesIt)
{
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    TfrmRepeatedEventEditor editor;
    editor.pcBRD->setCurrentWidget(editor.tsMonthly);
    editor.move(40, 40);
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    // Clicks go where the server, not only Qt, has the window.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return testing_support::realGeometry(editor.winId()) == editor.geometry(); }, 10000));

    MonthDaysGrid* grid = editor.VirtualStringTree1;
    int clicks = 0;
    grid->OnFocusChanging = [&, toggle = grid->OnFocusChanging](int Row, int Column, bool& Allowed) {
        ++clicks;
        toggle(Row, Column, Allowed);
    };
    const QPoint day9 = grid->viewport()->mapToGlobal(grid->visualRect(grid->model()->index(1, 1)).center());
    // Without --sync, which waits for a move that never comes when the pointer is there already.
    ASSERT_TRUE(xdotool({"mousemove", QString::number(day9.x()), QString::number(day9.y())}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QCursor::pos() == day9; }));

    ASSERT_TRUE(xdotool({"click", "1"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return editor.FMonthDays[8]; }));
    QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 100); // not part of what follows

    ASSERT_TRUE(xdotool({"click", "--repeat", "2", "--delay", "80", "1"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return clicks == 3; })) << clicks;
    EXPECT_TRUE(editor.FMonthDays[8]) << "a double click toggles twice";
    EXPECT_FALSE(grid->currentIndex().isValid());
}
