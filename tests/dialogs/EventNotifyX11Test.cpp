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

#include <algorithm>

#include "PlatformFakes.h"
#include "TestEvent.h"
#include "TestSupport.h"
#include "WindowManager.h"
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
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect workArea = screen->availableGeometry();
    EXPECT_EQ(form.frameGeometry().bottomRight(), workArea.bottomRight());
    // What the screen shows in the corner is the pop-up, once the server has made the
    // last move of the slide: its background, bell and a button.
    const QList<QPoint> pixels = {QPoint(5, 5), QPoint(35, 40), QPoint(150, 133)};
    const QImage ownPicture = form.grab().toImage();
    QImage onScreen;
    const auto cornerShowsThePopUp = [&] {
        onScreen = screen->grabWindow(0, workArea.right() - 381, workArea.bottom() - 148, 382, 149).toImage();
        return std::all_of(pixels.begin(), pixels.end(),
                           [&](QPoint pixel) { return onScreen.pixelColor(pixel) == ownPicture.pixelColor(pixel); });
    };
    EXPECT_TRUE(QTest::qWaitFor(cornerShowsThePopUp, 10000)) << "the corner, in quillet-event-notify-x11.png";
    onScreen.save(QDir::temp().filePath("quillet-event-notify-x11.png"));
    for (const QPoint& pixel : pixels)
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
    QTest::qWait(1000); // a reminder that has just come up takes no click
    const QPoint button = form.btnDismiss->mapToGlobal(form.btnDismiss->rect().center());
    ASSERT_TRUE(xdotool({"mousemove", QString::number(button.x()), QString::number(button.y()), "click", "1"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !list.GetEvent(0)->Enabled; }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form.isVisible(); })) << "nothing left to show";
    EXPECT_EQ(QApplication::activeWindow(), &editor);
    ASSERT_TRUE(xdotool({"type", "--delay", "20", "c"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return editor.text() == "abc"; })) << editor.text();
}

// Under real window managers: Openbox keeps the windows it manages on screen and
// Fluxbox gives each a task-bar button. Two reminders come due one after the other;
// each pop-up must end exactly in the work area's corner and stay out of the task bar.
class EventNotifyUnderWindowManager : public ::testing::TestWithParam<const char*> {};

TEST_P(EventNotifyUnderWindowManager, EveryPopUpReachesTheCornerAndStaysOutOfTheTaskBar)
{
    const QString program = GetParam();
    testing_support::WindowManager manager(program, program == "openbox" ? QStringList{"--sm-disable"} : QStringList{});
    ASSERT_TRUE(manager.ready()) << GetParam() << " did not start";
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen->availableGeometry() == manager.workArea(); }))
        << "Qt did not hear of the manager's work area";
    const QRect workArea = manager.workArea();

    RecordingSoundPlayer sounds;
    testing_support::ClockOverride clock{at(2026, 3, 10, 9, 0)};
    TEventList list;
    TestEvent{.when = at(2026, 3, 10, 9, 5), .description = "Water the plants", .reminder = true}.addTo(list);
    TestEvent{.when = at(2026, 3, 10, 9, 45), .description = "Call the dentist", .reminder = true}.addTo(list);
    TfrmEventNotify form;
    form.OnNotifyEventsChanged = [&] { list.GetExpiredEvents(form.FExpiredEvents); };
    TfrmEventNotify::setSlideStepDelay(1);
    const QRect corner(workArea.right() - 381, workArea.bottom() - 148, 382, 149);

    for (const QString description : {"Water the plants", "Call the dentist"}) {
        SCOPED_TRACE(description.toStdString());
        list.GetExpiredEvents(form.FExpiredEvents);
        form.RefreshForEvents(&list, 255);
        ASSERT_EQ(form.lblEventDesc->text(), description);
        QTest::qWait(300); // whatever the manager would do, it has done by now
        const quint64 window = form.winId();
        EXPECT_EQ(testing_support::realGeometry(window), corner);
        for (QPushButton* button : {form.btnSnooze, form.btnDismiss, form.btnEditEvent})
            EXPECT_TRUE(workArea.contains(QRect(button->mapToGlobal(QPoint(0, 0)), button->size())))
                << button->objectName().toStdString();
        const QString state = testing_support::windowProperty(window, "_NET_WM_STATE");
        EXPECT_TRUE(state.contains("_NET_WM_STATE_SKIP_TASKBAR")) << state;
        EXPECT_TRUE(state.contains("_NET_WM_STATE_SKIP_PAGER")) << state;
        EXPECT_TRUE(testing_support::isOverrideRedirect(window)) << "no manager places it or lists it";
        // A window the manager raises over the corner stays under it.
        QWidget cover;
        cover.setAutoFillBackground(true);
        QPalette red;
        red.setColor(QPalette::Window, Qt::red);
        cover.setPalette(red);
        cover.resize(corner.size() + QSize(50, 50));
        cover.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&cover));
        cover.move(corner.topLeft() - QPoint(50, 50)); // where the manager would not put a new window
        cover.activateWindow();
        cover.raise();
        const auto onScreen = [&](QPoint at) {
            return screen->grabWindow(0, at.x(), at.y(), 1, 1).toImage().pixelColor(0, 0);
        };
        ASSERT_TRUE(QTest::qWaitFor([&] { return onScreen(corner.topLeft() - QPoint(20, 20)) == QColor(Qt::red); }))
            << "the window did not come over the corner";
        QTest::qWait(200);
        EXPECT_EQ(onScreen(corner.topLeft() + QPoint(200, 60)), QColor(Qt::white)) << "the pop-up went under it";
        cover.hide();

        QProcess::execute("import",
                          {"-window", "root",
                           QDir::temp().filePath(
                               QString("quillet-popup-%1-%2.png").arg(GetParam()).arg(description.section(' ', -1)))});

        // Dismissed with a real click once read: it slides out of sight.
        QTest::qWait(1000);
        const QPoint button = form.btnDismiss->mapToGlobal(form.btnDismiss->rect().center());
        ASSERT_TRUE(xdotool({"mousemove", QString::number(button.x()), QString::number(button.y()), "click", "1"}));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !form.isVisible(); })) << "it did not slide away";
        xdotool({"mousemove", "0", "0"});
        clock.set(at(2026, 3, 10, 9, 40)); // the second reminder is due
    }
    TfrmEventNotify::setSlideStepDelay(3);
}

INSTANTIATE_TEST_SUITE_P(Managers, EventNotifyUnderWindowManager, ::testing::Values("openbox", "fluxbox"));

} // namespace
