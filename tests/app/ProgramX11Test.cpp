// The built program as a real process on a display of its own: the single-instance
// guard and the orderly end on SIGTERM.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <functional>

#include "TestSupport.h"

namespace {

bool waitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    return true;
}

// An Xvfb of the test's own, so no other test's windows or hotkeys get in the way.
class PrivateDisplay {
public:
    PrivateDisplay()
    {
        const QString numberFile = FFolder.filePath(QStringLiteral("display"));
        FServer.start(QStringLiteral("sh"),
                      {QStringLiteral("-c"),
                       QStringLiteral("exec Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>\"$1\""),
                       QStringLiteral("sh"), numberFile});
        waitUntil([&] { return !testing_support::readFile(numberFile).trimmed().isEmpty(); }, 10000);
        const QByteArray number = testing_support::readFile(numberFile).trimmed();
        if (!number.isEmpty())
            FName = QLatin1Char(':') + QString::fromLatin1(number);
    }
    ~PrivateDisplay()
    {
        FServer.terminate();
        FServer.waitForFinished(5000);
    }
    QString name() const { return FName; }

private:
    QTemporaryDir FFolder;
    QProcess FServer;
    QString FName;
};

// A copy of the built program in a folder of its own, so that its Settings.ini and
// tmp folder stay there, with a lock folder of its own.
class ProgramCopy {
public:
    explicit ProgramCopy(const QString& display) : FDisplay(display)
    {
        FProgram = FFolder.filePath(QStringLiteral("quillet"));
        QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/quillet"), FProgram);
    }
    bool exists() const { return QFileInfo(FProgram).isExecutable(); }
    QString folder() const { return FFolder.path() + QLatin1Char('/'); }

    void start(QProcess& process, const QStringList& arguments = {}) const
    {
        process.setProcessEnvironment(environment());
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(FProgram, arguments);
    }

    // The ids of the shown windows titled "Quillet".
    QStringList shownMainWindows() const
    {
        QProcess search;
        search.setProcessEnvironment(environment());
        search.start(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                 QStringLiteral("--name"), QStringLiteral("^Quillet$")});
        search.waitForFinished(5000);
        return QString::fromLatin1(search.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

private:
    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), FDisplay);
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), FRuntime.path());
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        return environment;
    }

    QString FDisplay;
    QTemporaryDir FFolder;
    QTemporaryDir FRuntime;
    QString FProgram;
};

class ProgramX11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(display.name().isEmpty()) << "Xvfb did not start";
        ASSERT_TRUE(program.exists()) << "the program is built next to the tests";
    }

    // Starts the program and waits until its main window is the only window on show
    // (the splash has gone).
    void startAndWait(QProcess& process, const QStringList& arguments = {})
    {
        program.start(process, arguments);
        ASSERT_TRUE(process.waitForStarted(5000));
        ASSERT_TRUE(waitUntil([&] { return program.shownMainWindows().size() == 1; }, 20000));
        QThread::msleep(1500); // the splash's minimum time
        ASSERT_EQ(program.shownMainWindows().size(), 1);
    }

    PrivateDisplay display;
    ProgramCopy program{display.name()};
};

} // namespace

TEST_F(ProgramX11, ASecondStartEndsAtOnceWithoutAWindow)
{
    QProcess first;
    startAndWait(first);
    const QStringList windowsBefore = program.shownMainWindows();

    QProcess second;
    program.start(second);
    ASSERT_TRUE(second.waitForFinished(5000)) << "the second start must end at once";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(program.shownMainWindows(), windowsBefore) << "no window of its own, and the first stays as it was";
    EXPECT_EQ(first.state(), QProcess::Running);

    first.terminate();
    ASSERT_TRUE(first.waitForFinished(10000));

    // With the first instance gone, a new start runs again.
    QProcess third;
    startAndWait(third);
    third.terminate();
    EXPECT_TRUE(third.waitForFinished(10000));
}

TEST_F(ProgramX11, SigTermEndsTheProgramInAnOrderlyWay)
{
    testing_support::writeFile(program.folder() + QStringLiteral("tmp/~qv1A.tmp"), "echo left over\n");
    const QString events = program.folder() + QStringLiteral("data/My.events");

    QProcess process;
    startAndWait(process, {events});
    process.terminate(); // SIGTERM
    ASSERT_TRUE(process.waitForFinished(10000));

    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << "the signal is handled, not fatal";
    EXPECT_EQ(process.exitCode(), 0);
    QSettings settings(program.folder() + QStringLiteral("Settings.ini"), QSettings::IniFormat);
    EXPECT_EQ(settings.value(QStringLiteral("START UP/Minimized")).toString(), QStringLiteral("0"));
    EXPECT_FALSE(QFileInfo::exists(program.folder() + QStringLiteral("tmp/~qv1A.tmp")));
    // The first-run list was never changed, so the named event file is not created.
    EXPECT_FALSE(QFileInfo::exists(events));
}
