// The built program as a real process on the test run's display: the single-instance
// guard, a reminder due at start-up, and the orderly end on SIGTERM.
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "../dialogs/TestEvent.h"
#include "TestSupport.h"

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

    void start(QProcess& process, const QStringList& arguments = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", home.path());
        environment.insert("HOME", home.path());
        environment.remove("QT_QPA_PLATFORM");
        environment.remove("WAYLAND_DISPLAY");
        process.setProcessEnvironment(environment);
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

} // namespace
