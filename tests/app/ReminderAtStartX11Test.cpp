// The real program on a real X server: a reminder that is due when Quillet starts
// slides up in the pop-up at the corner of the screen within the first check.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "events/EventList.h"

namespace {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The geometry of the visible windows of a process, as the X server has them.
QList<QRect> visibleWindowsOf(qint64 pid)
{
    QList<QRect> windows;
    const QStringList ids =
        run("xdotool", {"search", "--onlyvisible", "--pid", QString::number(pid)}).split('\n', Qt::SkipEmptyParts);
    for (const QString& id : ids) {
        QRect rect;
        for (const QString& line : run("xdotool", {"getwindowgeometry", "--shell", id}).split('\n')) {
            const QString value = line.section('=', 1);
            if (line.startsWith("X="))
                rect.moveLeft(value.toInt());
            else if (line.startsWith("Y="))
                rect.moveTop(value.toInt());
            else if (line.startsWith("WIDTH="))
                rect.setWidth(value.toInt());
            else if (line.startsWith("HEIGHT="))
                rect.setHeight(value.toInt());
        }
        windows << rect;
    }
    return windows;
}

} // namespace

TEST(ReminderAtStartX11, ADueReminderAppearsInThePopUpInTheCorner)
{
    const QString built = QCoreApplication::applicationDirPath() + "/quillet";
    ASSERT_TRUE(QFile::exists(built)) << "build the quillet target first";

    // The program keeps its settings and command files beside itself: give it a folder of its own.
    QTemporaryDir home;
    const QString program = home.filePath("quillet");
    ASSERT_TRUE(QFile::copy(built, program));
    QDir(home.path()).mkpath("runtime");

    TEventList list;
    TEvent event;
    event.SetValues(Now() - 1.0 / 24, true, 0, QStringLiteral("Home"), QStringLiteral("Water the plants"), 1, -10);
    event.PopUpNotify = true;
    event.AudioNotify = false;
    list.AddEvent(event);
    const QString eventFile = home.filePath("plants.events");
    list.SaveToFile(eventFile);

    QProcess quillet;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", home.filePath("runtime")); // its own single-instance lock
    environment.insert("HOME", home.path());
    environment.remove("QT_QPA_PLATFORM");
    quillet.setProcessEnvironment(environment);
    quillet.start(program, {eventFile});
    ASSERT_TRUE(quillet.waitForStarted());

    const QStringList screenSize = run("xdotool", {"getdisplaygeometry"}).split(' ');
    ASSERT_EQ(screenSize.size(), 2);
    const QRect corner(screenSize[0].toInt() - 382, screenSize[1].trimmed().toInt() - 149, 382, 149);

    // The first check comes 5 s after the start; the slide takes well under a second.
    bool shown = false;
    for (int waited = 0; waited < 15000 && !shown; waited += 250) {
        QThread::msleep(250);
        shown = visibleWindowsOf(quillet.processId()).contains(corner);
    }
    EXPECT_TRUE(shown) << "no window of 382 x 149 at the corner";
    if (shown && qEnvironmentVariableIsSet("QUILLET_SCREENSHOT"))
        run("import", {"-window", "root", qEnvironmentVariable("QUILLET_SCREENSHOT")});

    quillet.terminate(); // a real exit, as at the end of a session
    EXPECT_TRUE(quillet.waitForFinished(10000));
}
