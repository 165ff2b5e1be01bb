// The pop-up against a real X server: where it lands, that it follows the work area,
// and that typing goes on in the window the user was typing in.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include "PlatformFakes.h"
#include "TestEvent.h"
#include "TestSupport.h"
#include "dialogs/EventNotify.h"

using testing_support::at;

namespace {

bool xdotool(const QStringList& arguments)
{
    return QProcess::execute("xdotool", arguments) == 0;
}

TEST(EventNotifyX11, SlidesUpInTheWorkAreaCornerFollowsItAndLeavesTheKeyboardAlone)
{
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    RecordingSoundPlayer sounds;
    testing_support::ClockOverride clock{at(2026, 3, 10, 9, 0)};
    TEventList list;
    TestEvent{.when = at(2026, 3, 10, 9, 5), .description = "Water the plants", .reminder = true}.addTo(list);
    QLineEdit editor;
    editor.setGeometry(100, 100, 300, 30);
    editor.show();
    editor.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));

    TfrmEventNotify form;
    TfrmEventNotify::setSlideStepDelay(1);
    list.GetExpiredEvents(form.FExpiredEvents);
    form.RefreshForEvents(&list, 255);
    TfrmEventNotify::setSlideStepDelay(3);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTest::qWait(200); // let the server settle the last move
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect workArea = screen->availableGeometry();
    EXPECT_EQ(form.frameGeometry().bottomRight(), workArea.bottomRight());
    // What the screen shows in the corner is the pop-up: its background, bell and a button.
    const QImage onScreen = screen->grabWindow(0, workArea.right() - 381, workArea.bottom() - 148, 382, 149).toImage();
    onScreen.save(QDir::temp().filePath("quillet-event-notify-x11.png"));
    const QImage ownPicture = form.grab().toImage();
    for (const QPoint& pixel : {QPoint(5, 5), QPoint(35, 40), QPoint(150, 133)})
        EXPECT_EQ(onScreen.pixelColor(pixel), ownPicture.pixelColor(pixel)) << pixel.x() << "," << pixel.y();
    // The keyboard stays with the editor.
    EXPECT_EQ(QApplication::activeWindow(), &editor);
    ASSERT_TRUE(xdotool({"type", "--delay", "20", "ab"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return editor.text() == "ab"; })) << editor.text();

    // A panel of 40 pixels along the bottom edge, as a desktop announces it.
    const QString area = QString("0, 0, %1, %2").arg(screen->geometry().width()).arg(screen->geometry().height() - 40);
    ASSERT_EQ(QProcess::execute("xprop", {"-root", "-f", "_NET_WORKAREA", "32c", "-set", "_NET_WORKAREA", area}), 0);
    const bool followed = QTest::qWaitFor([&] { return screen->availableGeometry() != workArea; });
    QProcess::execute("xprop", {"-root", "-remove", "_NET_WORKAREA"});
    ASSERT_TRUE(followed) << "the X server's work area did not reach Qt";
    EXPECT_EQ(form.frameGeometry().bottomRight(), screen->geometry().bottomRight() - QPoint(0, 40));

    // A real click on a button doesn't take the keyboard either.
    form.OnNotifyEventsChanged = [&] { list.GetExpiredEvents(form.FExpiredEvents); };
    const QPoint button = form.btnDismiss->mapToGlobal(form.btnDismiss->rect().center());
    ASSERT_TRUE(xdotool({"mousemove", QString::number(button.x()), QString::number(button.y()), "click", "1"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !list.GetEvent(0)->Enabled; }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form.isVisible(); })) << "nothing left to show";
    EXPECT_EQ(QApplication::activeWindow(), &editor);
    ASSERT_TRUE(xdotool({"type", "--delay", "20", "c"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return editor.text() == "abc"; })) << editor.text();
}

} // namespace
