// The built program as a real process on the test run's display: the single-instance
// guard, the platform in a Wayland session, a reminder due at start-up, and the
// orderly end on SIGTERM.
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStyleHints>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

#include <sys/stat.h>
#include <unistd.h>

#include "../dialogs/TestEvent.h"
#include "OtherUser.h"
#include "TestSupport.h"
#include "WindowManager.h"

using testing_support::readFile;
using testing_support::writeFile;

namespace {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The ids of the shown windows that xdotool's search arguments select.
QStringList shownWindows(const QStringList& search)
{
    return run("xdotool", QStringList{"search", "--onlyvisible"} + search).split('\n', Qt::SkipEmptyParts);
}

const QStringList MainWindows{"--name", "^Quillet$"};

// Each test runs a copy of the built program in a folder of its own, so that its
// Settings.ini, tmp folder and single-instance lock stay there.
class ProgramX11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFile::copy(QCoreApplication::applicationDirPath() + "/quillet", home.filePath("quillet"));
        ASSERT_TRUE(QFileInfo(home.filePath("quillet")).isExecutable()) << "the program is built next to the tests";
    }

    // On X11, with its folders in home (or the runtime folder Runtime).
    QProcessEnvironment programEnvironment(const QString& runtime = {}) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", runtime.isEmpty() ? home.path() : runtime);
        environment.insert("HOME", home.path());
        environment.remove("QT_QPA_PLATFORM");
        environment.remove("WAYLAND_DISPLAY");
        return environment;
    }

    void start(QProcess& process, const QStringList& arguments = {}, const QString& runtime = {})
    {
        process.setProcessEnvironment(programEnvironment(runtime));
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(home.filePath("quillet"), arguments);
        ASSERT_TRUE(process.waitForStarted(5000));
    }

    // Starts the program and waits until its main window is the only window on show
    // (the splash has gone).
    void startAndWait(QProcess& process)
    {
        start(process);
        ASSERT_TRUE(QTest::qWaitFor([] { return shownWindows(MainWindows).size() == 1; }, 20000));
        QTest::qWait(1500); // the splash's minimum time
        ASSERT_EQ(shownWindows(MainWindows).size(), 1);
    }

    QTemporaryDir home;
};

TEST_F(ProgramX11, ASecondStartEndsAtOnceWithoutAWindow)
{
    QProcess first;
    startAndWait(first);
    const QStringList windowsBefore = shownWindows(MainWindows);

    QProcess second;
    start(second);
    ASSERT_TRUE(second.waitForFinished(5000)) << "the second start must end at once";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(shownWindows(MainWindows), windowsBefore) << "no window of its own, and the first stays as it was";
    EXPECT_EQ(first.state(), QProcess::Running);

    first.terminate();
    ASSERT_TRUE(first.waitForFinished(10000));
    // With the first instance gone, a new start runs again.
    QProcess third;
    startAndWait(third);
    third.terminate();
    EXPECT_TRUE(third.waitForFinished(10000));
}

// In a Wayland session with XWayland the program starts on X11, where its pop-up
// takes its corner and its hotkey works; Qt by itself would try Wayland first.
TEST_F(ProgramX11, StartsOnX11InAWaylandSessionWithXWayland)
{
    QProcessEnvironment environment = programEnvironment();
    environment.insert("WAYLAND_DISPLAY", "wayland-quillet-test"); // no compositor answers there
    environment.insert("XDG_SESSION_TYPE", "wayland");
    environment.remove("XDG_CURRENT_DESKTOP"); // Qt keeps to X11 on GNOME itself
    environment.remove("XDG_SESSION_DESKTOP");
    environment.insert("QT_LOGGING_RULES", "qt.qpa.plugin=true"); // Qt names each platform it tries
    QProcess quillet;
    quillet.setProcessEnvironment(environment);
    quillet.start(home.filePath("quillet"));
    ASSERT_TRUE(quillet.waitForStarted(5000));
    EXPECT_TRUE(QTest::qWaitFor([] { return shownWindows(MainWindows).size() == 1; }, 20000));
    quillet.terminate();
    ASSERT_TRUE(quillet.waitForFinished(10000));
    const QString log = QString::fromUtf8(quillet.readAllStandardError());
    const QRegularExpression tried(R"re(Attempting to load Qt platform plugin "([^"]*)")re");
    EXPECT_EQ(tried.match(log).captured(1), "xcb") << log.toStdString();
}

// A second program on an event file in use, of another session or another user of a
// shared folder, says so in a box and ends once that is answered, writing nothing.
TEST_F(ProgramX11, ASecondProgramOnAnEventFileInUseEndsWritingNothing)
{
    // /tmp, as the test's own temporary folder may be closed to other users.
    QTemporaryDir shared("/tmp/quillet-shared-XXXXXX");
    const QDir folder(shared.path());
    ASSERT_EQ(chmod(QFile::encodeName(shared.path()).constData(), 01777), 0);
    TEventList list;
    TestEvent{.when = Now() + 1, .description = "Water the plants"}.addTo(list);
    const QString events = folder.filePath("shared.events");
    list.SaveToFile(events);
    ASSERT_EQ(chmod(QFile::encodeName(events).constData(), 0666), 0);
    const QByteArray saved = readFile(events);
    QProcess first;
    start(first, {events});
    ASSERT_TRUE(QTest::qWaitFor([] { return shownWindows(MainWindows).size() == 1; }, 20000));
    const QByteArray settings = "[START UP]\nMinimized=0\n";
    writeFile(home.filePath("Settings.ini"), settings);

    const auto endsAfterItsBox = [&](QProcess& second) {
        QStringList box;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return !(box = shownWindows({"--pid", QString::number(second.processId())})).isEmpty();
            },
            20000));
        EXPECT_FALSE(second.waitForFinished(500)) << "the box waits for the user";
        ASSERT_EQ(QProcess::execute("xdotool", {"windowfocus", "--sync", box[0]}), 0);
        ASSERT_EQ(QProcess::execute("xdotool", {"key", "Return"}), 0);
        ASSERT_TRUE(second.waitForFinished(5000));
        EXPECT_EQ(second.exitCode(), 0);
        EXPECT_EQ(readFile(events), saved);
    };
    QTemporaryDir otherSession;
    QProcess second;
    start(second, {events}, otherSession.path());
    endsAfterItsBox(second);
    EXPECT_EQ(QString(readFile(home.filePath("Settings.ini"))), QString(settings));

    if (testing_support::mayActAsAnotherUser()) {
        const testing_support::OtherUser nobody = testing_support::OtherUser::nobody();
        ASSERT_TRUE(QFile::copy(home.filePath("quillet"), folder.filePath("quillet")));
        ASSERT_TRUE(folder.mkpath("runtime"));
        ASSERT_TRUE(nobody.makeOwnerOf(folder.filePath("runtime")));
        ASSERT_EQ(chmod(QFile::encodeName(folder.filePath("runtime")).constData(), 0700), 0);
        QProcessEnvironment environment = programEnvironment(folder.filePath("runtime"));
        environment.insert("HOME", shared.path());
        QProcess otherUser;
        otherUser.setProcessEnvironment(environment);
        otherUser.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        nobody.startsAs(otherUser);
        otherUser.start(folder.filePath("quillet"), {events});
        ASSERT_TRUE(otherUser.waitForStarted(5000));
        endsAfterItsBox(otherUser);
        EXPECT_EQ(folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name),
                  (QStringList{".shared.events.lock", "quillet", "runtime", "shared.events"}));
    }
    EXPECT_EQ(first.state(), QProcess::Running);
    first.terminate();
    EXPECT_TRUE(first.waitForFinished(10000));
}

TEST_F(ProgramX11, ADueReminderPopsUpInTheCornerAndSigTermEndsTheProgramInOrder)
{
    TEventList list;
    TestEvent{.when = Now() - 1.0 / 24, .description = "Water the plants", .reminder = true, .popUp = true}.addTo(list);
    list.GetEvent(0)->AudioNotify = false;
    const QString events = home.filePath("plants.events");
    list.SaveToFile(events);
    const QByteArray saved = readFile(events);
    writeFile(home.filePath("tmp/~qv1A.tmp"), "echo left over\n");

    QProcess quillet;
    start(quillet, {events});
    const QStringList screen = run("xdotool", {"getdisplaygeometry"}).trimmed().split(' ');
    const QString corner =
        QString("X=%1\nY=%2\nWIDTH=382\nHEIGHT=149\n").arg(screen[0].toInt() - 382).arg(screen[1].toInt() - 149);
    // The first check comes 5 s after the start; the slide takes well under a second.
    const auto popUpInCorner = [&] {
        for (const QString& id : shownWindows({"--pid", QString::number(quillet.processId())}))
            if (run("xdotool", {"getwindowgeometry", "--shell", id}).contains(corner))
                return true;
        return false;
    };
    EXPECT_TRUE(QTest::qWaitFor(popUpInCorner, 15000)) << "no window of 382 x 149 at the corner";

    quillet.terminate();
    ASSERT_TRUE(quillet.waitForFinished(10000));
    EXPECT_EQ(quillet.exitStatus(), QProcess::NormalExit) << "the signal is handled, not fatal";
    EXPECT_EQ(quillet.exitCode(), 0);
    EXPECT_EQ(QSettings(home.filePath("Settings.ini"), QSettings::IniFormat).value("START UP/Minimized").toString(),
              "0");
    EXPECT_FALSE(QFileInfo::exists(home.filePath("tmp/~qv1A.tmp")));
    EXPECT_EQ(readFile(events), saved) << "nothing changed, nothing written";
}

// The start-up's message about a damaged event file waits for OK; SIGTERM closes it
// and ends the program at once, and the settings it had not read stay as they were.
TEST_F(ProgramX11, SigTermDuringAStartUpMessageEndsTheProgramAndLeavesTheSettingsAlone)
{
    const QByteArray settings = "[START UP]\nMinimized=0\n[POSITION]\nMainWindowX=17\n";
    writeFile(home.filePath("Settings.ini"), settings);
    const QString events = writeFile(home.filePath("damaged.events"), "<QuilletEventFile>\r\ncut short");

    QProcess quillet;
    start(quillet, {events});
    // The main window is not shown before the settings are read: the window of that
    // title is the message box.
    ASSERT_TRUE(QTest::qWaitFor([] { return shownWindows(MainWindows).size() == 1; }, 20000));
    QTest::qWait(300);
    quillet.terminate();
    EXPECT_TRUE(quillet.waitForFinished(3000)) << "the box must not hold the exit";
    EXPECT_EQ(quillet.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(QString(readFile(home.filePath("Settings.ini"))), QString(settings));
    if (quillet.state() != QProcess::NotRunning) {
        quillet.kill();
        quillet.waitForFinished();
    }
}

// As a normal user whose event file lies in a folder it can't write: the reminder
// check's dismissal changes the list, every save then fails, and its retries keep one
// backup. SIGTERM during the failure's message writes the events to a recovery file
// and ends the program, though its settings can't be written either.
TEST_F(ProgramX11, AUserWhoCantWriteTheEventFileGetsOneBackupAndARecoveryFileAtTheExit)
{
    SKIP_UNLESS_ABLE_TO_ACT_AS_ANOTHER_USER();
    const testing_support::OtherUser nobody = testing_support::OtherUser::nobody();
    // /tmp, as the test's own temporary folder may be closed to other users.
    QTemporaryDir root("/tmp/quillet-user-XXXXXX");
    const QDir folder(root.path());
    ASSERT_EQ(chmod(QFile::encodeName(root.path()).constData(), 0755), 0);
    ASSERT_TRUE(QFile::copy(home.filePath("quillet"), folder.filePath("quillet")));
    for (const char* own : {"locked/Backup", "data", "runtime"}) {
        ASSERT_TRUE(folder.mkpath(own));
        ASSERT_TRUE(nobody.makeOwnerOf(folder.filePath(own)));
    }
    ASSERT_EQ(chmod(QFile::encodeName(folder.filePath("runtime")).constData(), 0700), 0);
    TEventList list;
    TestEvent{.when = Now() - 1.0 / 24, .description = "Water the plants", .reminder = true}.addTo(list);
    list.GetEvent(0)->AudioNotify = false;
    const QString events = folder.filePath("locked/plans.events");
    list.SaveToFile(events);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", root.path());
    environment.insert("XDG_RUNTIME_DIR", folder.filePath("runtime"));
    environment.insert("XDG_DATA_HOME", folder.filePath("data"));
    environment.remove("QT_QPA_PLATFORM");
    QProcess quillet;
    quillet.setProcessEnvironment(environment);
    nobody.startsAs(quillet);
    quillet.start(folder.filePath("quillet"), {events});
    ASSERT_TRUE(quillet.waitForStarted(5000));
    const auto answerBox = [&] {
        QString box;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                for (const QString& id : shownWindows(MainWindows))
                    if (run("xdotool", {"getwindowgeometry", "--shell", id})
                            .contains(QRegularExpression("WIDTH=[1-6]..\n")))
                        box = id;
                return !box.isEmpty();
            },
            5000));
        ASSERT_EQ(QProcess::execute("xdotool", {"windowfocus", "--sync", box}), 0);
        ASSERT_EQ(QProcess::execute("xdotool", {"key", "Return"}), 0);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !shownWindows(MainWindows).contains(box); }, 5000));
    };
    // No lock file can be made beside the event file: the start says so, and goes on.
    answerBox();

    // The first check comes 5 s after the start, and the save a second later. Its
    // failure is reported in a box; once that is answered, the save is retried every
    // second without another.
    const QDir backups(folder.filePath("locked/Backup"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !backups.entryList(QDir::Files).isEmpty(); }, 15000));
    answerBox();
    QTest::qWait(5000);
    EXPECT_EQ(backups.entryList(QDir::Files).size(), 1) << "five seconds of retries";

    quillet.terminate();
    ASSERT_TRUE(quillet.waitForFinished(5000));
    const QString standardError = QString::fromLocal8Bit(quillet.readAllStandardError());
    const QStringList recovery = QDir(folder.filePath("data/Quillet")).entryList({"plans_*.events"}, QDir::Files);
    ASSERT_EQ(recovery.size(), 1) << standardError;
    EXPECT_TRUE(readFile(folder.filePath("data/Quillet/" + recovery[0])).contains("Water the plants"));
    EXPECT_TRUE(standardError.contains(recovery[0])) << standardError;
    // Its settings' folder can't be made under the test's, which is root's: named with the reason.
    const QString settingsFolder = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")) + "/Quillet/";
    EXPECT_TRUE(standardError.contains("Cannot create folder \"" + settingsFolder + "\". Permission denied"))
        << standardError;
}

// The manager as on a user's desktop ("openbox" runs without a session manager).
void startManager(std::optional<testing_support::WindowManager>& running, const QString& manager)
{
    running.emplace(manager, manager == "openbox" ? QStringList{"--sm-disable"} : QStringList{});
}

// The program under a real window manager, at a scale factor (QT_SCALE_FACTOR, or a
// QT_FONT_DPI that Qt turns into one), with a Settings.ini or without (the first run).
struct ManagedProgram {
    const char* Name;
    const char* Manager;
    const char* ScaleVariable;
    const char* ScaleValue;
    const char* Settings;

    double scale() const
    {
        const double value = QByteArray(ScaleValue).toDouble();
        return QByteArray(ScaleVariable) == "QT_FONT_DPI" ? value / 96 : value;
    }
};

void PrintTo(const ManagedProgram& row, std::ostream* out)
{
    *out << row.Name;
}

// What a window manager that made the window 65534 pixels square at scale 2 left behind.
const char* const HugeSizes = "[POSITION]\nMainWindowX=-1\nMainWindowY=-10\n"
                              "[SIZE]\nMainWindowWidth=52428\nMainWindowHeight=52428\n"
                              "[COLUMNS]\nNext Event=52428\nCountdown=32767\nEvent=52428\nCategory=52428\n";

class ProgramUnderWindowManager : public ProgramX11, public ::testing::WithParamInterface<ManagedProgram> {};

// Whatever the scale, the main window takes no size beyond the screen at any moment,
// also when it is shown again, ends up with its frame within the work area, and is
// saved so.
TEST_P(ProgramUnderWindowManager, TheMainWindowStaysWithinTheScreen)
{
    const ManagedProgram row = GetParam();
    std::optional<testing_support::WindowManager> running;
    startManager(running, row.Manager);
    ASSERT_TRUE(running->ready()) << row.Manager << " did not start";
    QRect workArea;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(workArea = testing_support::WindowManager::workArea()).isEmpty(); }))
        << "the manager announced no work area";
    const QStringList display = run("xdotool", {"getdisplaygeometry"}).trimmed().split(' ');
    const QSize screen(display.value(0).toInt(), display.value(1).toInt());
    if (*row.Settings)
        writeFile(home.filePath("Settings.ini"), row.Settings);

    QProcessEnvironment environment = programEnvironment();
    environment.insert(row.ScaleVariable, row.ScaleValue);
    QProcess quillet;
    quillet.setProcessEnvironment(environment);
    quillet.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    quillet.start(home.filePath("quillet"));
    ASSERT_TRUE(quillet.waitForStarted(5000));
    const QStringList itsMainWindow = QStringList{"--all", "--pid", QString::number(quillet.processId())} + MainWindows;
    // The one that may be resized, down to a minimum: not the splash, nor the icon in
    // fluxbox's own notification area.
    quint64 window = 0;
    const auto mainWindow = [&] {
        for (const QString& id : shownWindows(itsMainWindow)) {
            const QString hints = testing_support::windowProperty(id.toULongLong(), "WM_NORMAL_HINTS");
            if (hints.contains("minimum size") && !hints.contains("maximum size"))
                window = id.toULongLong();
        }
        return window != 0;
    };
    ASSERT_TRUE(QTest::qWaitFor(mainWindow, 20000));

    // Fixed times to watch in: the fault was a window that grew within a second.
    const auto watch = [&](int milliseconds) {
        QElapsedTimer watched;
        watched.start();
        while (watched.elapsed() < milliseconds) {
            const QSize size = testing_support::realGeometry(window).size();
            ASSERT_TRUE(size.width() <= screen.width() && size.height() <= screen.height())
                << size.width() << " x " << size.height() << " after " << watched.elapsed() << " ms";
            QTest::qWait(20);
        }
        const QRect frame = testing_support::realFrame(window);
        EXPECT_TRUE(workArea.contains(frame))
            << frame.x() << "," << frame.y() << " " << frame.width() << " x " << frame.height() << " in "
            << workArea.width() << " x " << workArea.height();
    };
    watch(5000);
    ASSERT_FALSE(HasFatalFailure());

    // Hidden into fluxbox's notification area and shown again from its icon there, the
    // window is placed anew by the manager, and keeps its size.
    if (QByteArray(row.Manager) == "fluxbox") {
        quint64 icon = 0;
        for (const QString& id : shownWindows({"--pid", QString::number(quillet.processId())}))
            if (testing_support::realGeometry(id.toULongLong()).height() < 64)
                icon = id.toULongLong();
        ASSERT_NE(icon, 0u) << "no icon in fluxbox's notification area";
        const auto clickIcon = [icon] {
            return QProcess::execute("xdotool",
                                     {"mousemove", "--window", QString::number(icon), "4", "4", "click", "1"});
        };
        ASSERT_EQ(clickIcon(), 0);
        ASSERT_TRUE(QTest::qWaitFor([&] { return shownWindows(itsMainWindow).isEmpty(); }, 5000)) << "not hidden";
        QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval()); // a second click, not a double one
        ASSERT_EQ(clickIcon(), 0);
        watch(3000);
        ASSERT_FALSE(HasFatalFailure());
        EXPECT_FALSE(shownWindows(itsMainWindow).isEmpty()) << "not shown again";
    }
    QProcess::execute("import",
                      {"-window", "root", QDir::temp().filePath(QString("quillet-managed-%1.png").arg(row.Name))});

    quillet.terminate();
    ASSERT_TRUE(quillet.waitForFinished(10000));
    // Saved in the program's own pixels, which are the scale's screen pixels.
    const QSettings saved(home.filePath("Settings.ini"), QSettings::IniFormat);
    const auto onScreen = [&](const char* key) { return saved.value(key).toInt() * row.scale(); };
    EXPECT_LE(onScreen("SIZE/MainWindowWidth"), workArea.width());
    EXPECT_LE(onScreen("SIZE/MainWindowHeight"), workArea.height());
    for (const char* column : {"COLUMNS/Next Event", "COLUMNS/Countdown", "COLUMNS/Event", "COLUMNS/Category"})
        EXPECT_LE(onScreen(column), workArea.width()) << column;
}

INSTANTIATE_TEST_SUITE_P(
    Managers, ProgramUnderWindowManager,
    ::testing::Values(ManagedProgram{"openbox_at_1_5", "openbox", "QT_SCALE_FACTOR", "1.5", ""},
                      ManagedProgram{"openbox_at_2", "openbox", "QT_SCALE_FACTOR", "2", ""},
                      ManagedProgram{"fluxbox_at_1_5", "fluxbox", "QT_SCALE_FACTOR", "1.5", ""},
                      ManagedProgram{"fluxbox_at_2", "fluxbox", "QT_SCALE_FACTOR", "2", ""},
                      ManagedProgram{"fluxbox_at_120_dpi", "fluxbox", "QT_FONT_DPI", "120", ""},
                      ManagedProgram{"fluxbox_at_2_with_huge_sizes", "fluxbox", "QT_SCALE_FACTOR", "2", HugeSizes}),
    [](const ::testing::TestParamInfo<ManagedProgram>& info) { return std::string(info.param.Name); });

// Under real window managers, two reminders due one after the other: each pop-up
// slides fully into the work area's corner and stays out of the task bar.
class PopUpUnderWindowManager : public ProgramX11, public ::testing::WithParamInterface<const char*> {
protected:
    // The pop-up's window when it is on show in Corner, else 0.
    quint64 popUpIn(const QProcess& quillet, const QRect& Corner)
    {
        for (const QString& id : shownWindows({"--pid", QString::number(quillet.processId())}))
            if (testing_support::realGeometry(id.toULongLong()) == Corner)
                return id.toULongLong();
        return 0;
    }
};

TEST_P(PopUpUnderWindowManager, EachReminderPopsUpInTheCornerOutOfTheTaskBar)
{
    const QString manager = GetParam();
    std::optional<testing_support::WindowManager> running;
    startManager(running, manager);
    ASSERT_TRUE(running->ready()) << manager.toStdString() << " did not start";
    QRect workArea;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(workArea = testing_support::WindowManager::workArea()).isEmpty(); }))
        << "the manager announced no work area";
    const QRect corner(workArea.right() - 381, workArea.bottom() - 148, 382, 149);

    // The first is due at the start; the second at the first whole minute after
    // the first has come and gone.
    QDateTime second = QDateTime::currentDateTime().addSecs(20);
    second = second.addSecs(60 - second.time().second());
    const QDate day = second.date();
    const TDateTime secondDue =
        encodeDateTime(day.year(), day.month(), day.day(), second.time().hour(), second.time().minute(), 0, 0);
    TEventList list;
    TestEvent{.when = Now() - 1.0 / 24, .description = "Water the plants", .reminder = true, .popUp = true}.addTo(list);
    TestEvent{.when = secondDue + 15.0 / 1440, .description = "Call the dentist", .reminder = true, .popUp = true}
        .addTo(list);
    for (int i = 0; i < list.Count(); ++i)
        list.GetEvent(i)->AudioNotify = false;
    const QString events = home.filePath("two.events");
    list.SaveToFile(events);

    QProcess quillet;
    start(quillet, {events});
    for (int shown = 1; shown <= 2; ++shown) {
        SCOPED_TRACE(shown);
        quint64 popUp = 0;
        const int wait = shown == 1 ? 20000 : int(QDateTime::currentDateTime().msecsTo(second)) + 15000;
        ASSERT_TRUE(QTest::qWaitFor([&] { return (popUp = popUpIn(quillet, corner)) != 0; }, wait))
            << "no pop-up reached the corner " << corner.x() << "," << corner.y();
        QTest::qWait(300); // whatever the manager would do, it has done by now
        EXPECT_EQ(testing_support::realGeometry(popUp), corner) << "it stays there";
        EXPECT_TRUE(workArea.contains(corner)) << "all of it, buttons too, is on show";
        const QString state = testing_support::windowProperty(popUp, "_NET_WM_STATE");
        EXPECT_TRUE(state.contains("_NET_WM_STATE_SKIP_TASKBAR")) << state;
        QProcess::execute(
            "import",
            {"-window", "root", QDir::temp().filePath(QString("quillet-program-%1-%2.png").arg(manager).arg(shown))});

        // Dismissed once it has been read: it slides out of the corner and goes.
        QTest::qWait(1000);
        ASSERT_EQ(QProcess::execute("xdotool", {"mousemove", "--window", QString::number(popUp), "151", "133", "click",
                                                "1", "mousemove", "0", "0"}),
                  0);
        EXPECT_TRUE(QTest::qWaitFor([&] { return popUpIn(quillet, corner) == 0; }, 5000)) << "it stayed";
    }
    quillet.terminate();
    EXPECT_TRUE(quillet.waitForFinished(10000));
}

INSTANTIATE_TEST_SUITE_P(Managers, PopUpUnderWindowManager, ::testing::Values("openbox", "fluxbox"));

} // namespace
