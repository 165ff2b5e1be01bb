// The pop-up against a real X server: where it lands, and that typing goes on
// in the window the user was typing in.
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include "ReminderTestSupport.h"
#include "TestSupport.h"
#include "dialogs/EventNotify.h"
#include "events/EventList.h"

using testing_support::at;
using testing_support::ClockOverride;
using namespace reminder_testing;

namespace {

bool xdotool(const QStringList& arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

} // namespace

TEST(EventNotifyX11, SlidesUpInTheWorkAreaCornerWhileTypingGoesOn)
{
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    RecordingSoundPlayer sounds;
    ClockOverride clock{at(2026, 3, 10, 9, 0)};
    TEventList list;
    TEvent event;
    event.SetValues(at(2026, 3, 10, 9, 5), true, 0, QStringLiteral("Home"), QStringLiteral("Water the plants"), 1, -10);
    event.PopUpNotify = true;
    list.AddEvent(event);
    list.GetEvent(0)->RecalculateNoticationTimes();

    QLineEdit editor;
    editor.setWindowTitle(QStringLiteral("typing here"));
    editor.setGeometry(100, 100, 300, 30);
    editor.show();
    editor.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    ASSERT_TRUE(xdotool({"type", "--delay", "20", "ab"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return editor.text() == "ab"; }));

    TfrmEventNotify form;
    TfrmEventNotify::setSlideStepDelay(1);
    list.GetExpiredEvents(form.FExpiredEvents);
    form.RefreshForEvents(&list, 255);
    TfrmEventNotify::setSlideStepDelay(3);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTest::qWait(200); // let the server settle the last move

    const QRect workArea = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(form.frameGeometry().bottomRight(), workArea.bottomRight());
    EXPECT_EQ(form.lblEventDesc->text(), "Water the plants");

    // What the screen shows in the corner is the pop-up.
    const QImage onScreen = QGuiApplication::primaryScreen()
                                ->grabWindow(0, workArea.right() - 381, workArea.bottom() - 148, 382, 149)
                                .toImage();
    const QImage ownPicture = form.grab().toImage();
    onScreen.save(QDir::temp().filePath(QStringLiteral("quillet-event-notify-x11.png")));
    int differing = 0;
    for (int y = 0; y < 149; y += 4)
        for (int x = 0; x < 382; x += 4)
            if (onScreen.pixelColor(x, y) != ownPicture.pixelColor(x, y))
                ++differing;
    EXPECT_LT(differing, 40) << "the corner should show the pop-up";

    // The keyboard stays with the editor.
    EXPECT_EQ(QApplication::activeWindow(), &editor);
    ASSERT_TRUE(xdotool({"type", "--delay", "20", "cd"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return editor.text() == "abcd"; })) << editor.text().toStdString();

    // A real click on a button doesn't take the keyboard either.
    int changed = 0;
    form.OnNotifyEventsChanged = [&] {
        ++changed;
        list.GetExpiredEvents(form.FExpiredEvents);
    };
    const QPoint button = form.btnDismiss->mapToGlobal(form.btnDismiss->rect().center());
    ASSERT_TRUE(xdotool({"mousemove", QString::number(button.x()), QString::number(button.y()), "click", "1"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return changed == 1; }));
    EXPECT_FALSE(list.GetEvent(0)->Enabled);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form.isVisible(); })) << "nothing left to show";
    EXPECT_EQ(QApplication::activeWindow(), &editor);
    ASSERT_TRUE(xdotool({"type", "--delay", "20", "e"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return editor.text() == "abcde"; })) << editor.text().toStdString();
}

TEST(EventNotifyX11, FollowsTheWorkAreaWhenAPanelAppears)
{
    RecordingSoundPlayer sounds;
    ClockOverride clock{at(2026, 3, 10, 9, 0)};
    TEventList list;
    TEvent event;
    event.SetValues(at(2026, 3, 10, 9, 5), false, 0, QStringLiteral("Home"), QStringLiteral("Call Anna"), 1, -10);
    list.AddEvent(event);
    list.GetEvent(0)->RecalculateNoticationTimes();

    TfrmEventNotify form;
    TfrmEventNotify::setSlideStepDelay(0);
    list.GetExpiredEvents(form.FExpiredEvents);
    form.RefreshForEvents(&list, 220);
    TfrmEventNotify::setSlideStepDelay(3);
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect full = screen->geometry();

    // A panel of 40 pixels along the bottom edge, as a desktop announces it.
    const QString area = QStringLiteral("0, 0, %1, %2").arg(full.width()).arg(full.height() - 40);
    ASSERT_TRUE(QProcess::execute("xprop", {"-root", "-f", "_NET_WORKAREA", "32c", "-set", "_NET_WORKAREA", area}) ==
                0);
    const bool followed = QTest::qWaitFor([&] { return screen->availableGeometry().height() == full.height() - 40; });
    QProcess::execute("xprop", {"-root", "-remove", "_NET_WORKAREA"});
    ASSERT_TRUE(followed) << "the X server's work area did not reach Qt";
    EXPECT_EQ(form.frameGeometry().bottom(), full.bottom() - 40);
    EXPECT_EQ(form.frameGeometry().right(), full.right());
}
