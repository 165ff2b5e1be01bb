// The main window's life through the real window class: start-up, close, minimise,
// the tray menu and every kind of real exit, on the offscreen platform.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>

#include "ShellTestSupport.h"
#include "TestSupport.h"
#include "app/MainForm.h"
#include "app/Splash.h"
#include "controls/CalendarX.h"
#include "platform/gui/ClipboardWatcher.h"

using shell_test::ShellScope;
using shell_test::waitFor;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

// Settings.ini's value of a key ("" when missing). QSettings reads the plain keys used here.
QString setting(const QString& folder, const QString& key)
{
    QSettings ini(folder + QStringLiteral("Settings.ini"), QSettings::IniFormat);
    return ini.value(key).toString();
}

QStringList texts(const QMenu* menu)
{
    QStringList result;
    for (const QAction* action : menu->actions())
        result << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return result;
}

class MainFormLifecycle : public ::testing::Test {
protected:
    ShellScope scope;
};

} // namespace

TEST_F(MainFormLifecycle, StartUpRunsEveryStepAndShowsTheWindow)
{
    auto window = scope.start();

    EXPECT_EQ(window->FFileName, scope.folder() + QStringLiteral("Events.events"));
    EXPECT_TRUE(QFileInfo(window->FFileName).isAbsolute());
    // A missing file gives the first-run categories, all unticked.
    ASSERT_EQ(window->clstCategories->count(), 5);
    for (int i = 0; i < window->clstCategories->count(); ++i)
        EXPECT_EQ(window->clstCategories->item(i)->checkState(), Qt::Unchecked);
    EXPECT_EQ(window->pcFilters->currentWidget(), window->tsFilterCategory);
    EXPECT_TRUE(isSameDay(window->CalendarX1->SelectedDate(), Now()));
    EXPECT_TRUE(isSameDay(window->CalendarX2->SelectedMonth(), incMonth(window->CalendarX1->SelectedMonth(), 1)));
    EXPECT_TRUE(isSameDay(window->GetSelectedDate(), Now()));
    EXPECT_EQ(window->cboEventView->count(), 10);
    EXPECT_EQ(window->cboEventView->currentIndex(), 0);

    EXPECT_TRUE(window->FClipboardWatcher->joined());
    EXPECT_FALSE(window->FExpectClipboard);
    EXPECT_TRUE(window->tmrCheckEvents->isActive());
    EXPECT_TRUE(window->tmrSave->isActive());
    EXPECT_TRUE(window->tmrResetClipboardViewer->isActive());
    EXPECT_TRUE(SplashVisible());

    // Without X11 the hotkey cannot be taken: one plain message, and start-up goes on.
    EXPECT_EQ(scope.messages, QStringList{shell_test::HotKeyMessage});
    EXPECT_TRUE(scope.errors().isEmpty());

    // First run: shown, in the design size, centred horizontally at top 225.
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Quillet"));
    EXPECT_EQ(window->width(), 822);
    EXPECT_EQ(window->height() - window->mnuMainMenu->sizeHint().height(), 622);
    EXPECT_EQ(window->x(), (QGuiApplication::primaryScreen()->size().width() - 822) / 2);
    EXPECT_EQ(window->y(), 225);
    EXPECT_TRUE(window->TrayIcon1->isVisible());
    shell_test::screenshot(*window, QStringLiteral("main-window"));
}

TEST_F(MainFormLifecycle, ARelativeEventFileIsTiedToTheFolderItWasGivenIn)
{
    QTemporaryDir startFolder;
    QTemporaryDir laterFolder;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(startFolder.path());
    auto window = scope.start({QStringLiteral("plans/My.events")});
    const QString expected = QDir(startFolder.path()).filePath(QStringLiteral("plans/My.events"));
    EXPECT_EQ(window->FFileName, expected);

    // A file dialog may change the working folder later: the file stays where it was.
    QDir::setCurrent(laterFolder.path());
    QDir(startFolder.path()).mkpath(QStringLiteral("plans"));
    window->FEventList->AddCategory(QStringLiteral("Travel"));
    window->close();
    QDir::setCurrent(previous);
    EXPECT_TRUE(readFile(expected).contains("Travel"));
    EXPECT_FALSE(QFileInfo::exists(QDir(laterFolder.path()).filePath(QStringLiteral("plans/My.events"))));
}

TEST_F(MainFormLifecycle, CloseOnlyHidesAndSavesWhenModified)
{
    auto window = scope.start();
    QSignalSpy terminated(window.get(), &TfrmQuillet::Terminated);
    const QString events = window->FFileName;

    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(QFileInfo::exists(events)) << "nothing changed, nothing written";

    window->ShowMainWindow();
    window->FEventList->AddCategory(QStringLiteral("Work"));
    EXPECT_FALSE(window->close());
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(readFile(events).contains("Work"));
    EXPECT_FALSE(window->FEventList->Modified);

    // The program goes on in the tray: no exit, no settings written, timers running.
    EXPECT_EQ(terminated.count(), 0);
    EXPECT_FALSE(window->FCanClose);
    EXPECT_FALSE(QFileInfo::exists(scope.folder() + QStringLiteral("Settings.ini")));
    EXPECT_TRUE(window->tmrCheckEvents->isActive());
    EXPECT_TRUE(window->TrayIcon1->isVisible());
}

TEST_F(MainFormLifecycle, MinimisingHidesAndShowingBringsBackANormalWindow)
{
    auto window = scope.start();
    window->showMinimized();
    ASSERT_TRUE(waitFor([&] { return !window->isVisible(); }));
    EXPECT_FALSE(window->isMinimized()) << "restored before hiding, so it comes back in its normal size";

    window->actShowHide->trigger();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isMinimized());
    window->actShowHide->trigger();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainFormLifecycle, WithoutATrayTheWindowIsMinimisedInsteadOfHidden)
{
    scope.setTrayAvailable(false);
    writeFile(scope.folder() + QStringLiteral("Settings.ini"), "[START UP]\nMinimized=1\n");
    auto window = scope.start();
    EXPECT_TRUE(window->isVisible()) << "a start in the tray would leave the user no way in";

    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isMinimized());

    window->actShowHide->trigger();
    EXPECT_FALSE(window->isMinimized());
    window->showMinimized();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isMinimized());
}

TEST_F(MainFormLifecycle, AStartInTheTrayKeepsTheWindowHidden)
{
    writeFile(scope.folder() + QStringLiteral("Settings.ini"), "[START UP]\nMinimized=1\n");
    auto window = scope.start();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->TrayIcon1->isVisible());
    EXPECT_TRUE(window->tmrCheckEvents->isActive());
}

TEST_F(MainFormLifecycle, ExitSavesWritesTheSettingsAndCleansTheTemporaryFolder)
{
    auto window = scope.start();
    QSignalSpy terminated(window.get(), &TfrmQuillet::Terminated);
    writeFile(scope.folder() + QStringLiteral("tmp/~qv1A2B.tmp"), "echo left over\n");
    writeFile(scope.folder() + QStringLiteral("tmp/~QVFF.tmp"), "");
    window->FEventList->AddCategory(QStringLiteral("Work"));
    window->move(40, 60);

    window->actExit->trigger();

    EXPECT_EQ(terminated.count(), 1);
    EXPECT_TRUE(window->FCanClose);
    EXPECT_TRUE(readFile(window->FFileName).contains("Work"));
    EXPECT_EQ(setting(scope.folder(), QStringLiteral("START UP/Minimized")), QStringLiteral("0"));
    EXPECT_EQ(setting(scope.folder(), QStringLiteral("POSITION/MainWindowX")), QStringLiteral("40"));
    EXPECT_EQ(setting(scope.folder(), QStringLiteral("SIZE/MainWindowWidth")), QStringLiteral("822"));
    EXPECT_TRUE(QDir(scope.folder() + QStringLiteral("tmp")).entryList(QDir::Files).isEmpty());
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->TrayIcon1->isVisible());
    EXPECT_TRUE(scope.errors().isEmpty()) << scope.errors().join(QLatin1Char('\n')).toStdString();
}

TEST_F(MainFormLifecycle, ExitFromTheTrayWhileHiddenRemembersTheTrayStart)
{
    {
        auto window = scope.start();
        window->actShowHide->trigger();
        ASSERT_FALSE(window->isVisible());
        window->pmnuitmExit->trigger();
    }
    EXPECT_EQ(setting(scope.folder(), QStringLiteral("START UP/Minimized")), QStringLiteral("1"));
    auto next = scope.start();
    EXPECT_FALSE(next->isVisible());
}

TEST_F(MainFormLifecycle, AFailingSaveDuringExitKeepsTheProgramRunning)
{
    auto window = scope.start();
    QSignalSpy terminated(window.get(), &TfrmQuillet::Terminated);
    // A folder where the event file should be: the write fails.
    const QString blocked = scope.folder() + QStringLiteral("events/Blocked.events");
    QDir().mkpath(blocked);
    window->FFileName = blocked;
    window->FEventList->AddCategory(QStringLiteral("Work"));

    window->actExit->trigger();

    ASSERT_EQ(scope.errors().size(), 1);
    EXPECT_EQ(terminated.count(), 0);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->FEventList->Modified);
    EXPECT_FALSE(QFileInfo::exists(scope.folder() + QStringLiteral("Settings.ini"))) << "the exit stopped at the save";
    EXPECT_TRUE(window->FCanClose);

    // FCanClose stays set: once the file can be written, any close request ends the program.
    window->FFileName = scope.folder() + QStringLiteral("events/Fixed.events");
    window->close();
    EXPECT_EQ(terminated.count(), 1);
    EXPECT_TRUE(readFile(window->FFileName).contains("Work"));
}

TEST_F(MainFormLifecycle, SettingsThatCannotBeWrittenAbandonTheExit)
{
    auto window = scope.start();
    QSignalSpy terminated(window.get(), &TfrmQuillet::Terminated);
    QDir().mkpath(scope.folder() + QStringLiteral("Settings.ini")); // a folder in the way
    writeFile(scope.folder() + QStringLiteral("tmp/~qv1.tmp"), "");

    EXPECT_FALSE(window->WMQueryEndSession()) << "the session is told the program could not end";

    ASSERT_EQ(scope.errors().size(), 1);
    EXPECT_TRUE(scope.errors().first().contains(QStringLiteral("Settings.ini")));
    EXPECT_EQ(terminated.count(), 0);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(QFileInfo::exists(scope.folder() + QStringLiteral("tmp/~qv1.tmp"))) << "stopped before the clean-up";
    QDir(scope.folder() + QStringLiteral("Settings.ini")).removeRecursively();
}

TEST_F(MainFormLifecycle, ADamagedEventFileIsReportedAndLeftAloneWhileStartUpGoesOn)
{
    const QByteArray damaged = "<QuilletEventFile>\r\nthis is not the rest of it";
    const QString events = writeFile(scope.folder() + QStringLiteral("Events.events"), damaged);
    writeFile(scope.folder() + QStringLiteral("Settings.ini"), "[POSITION]\nMainWindowX=17\n");

    auto window = scope.start();

    ASSERT_EQ(scope.errors().size(), 1);
    EXPECT_EQ(scope.errors().first(), QStringLiteral("Wrong file format"));
    // The steps after the load still ran: settings, view names, the reminder timer.
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->x(), 17);
    EXPECT_EQ(window->cboEventView->count(), 10);
    EXPECT_TRUE(window->tmrCheckEvents->isActive());
    EXPECT_FALSE(window->FEventList->Modified);

    // Neither the save check nor an exit writes over the file the user still needs.
    QTest::qWait(1200);
    window->actExit->trigger();
    EXPECT_EQ(readFile(events), damaged);
    EXPECT_EQ(setting(scope.folder(), QStringLiteral("POSITION/MainWindowX")), QStringLiteral("17"));
}

TEST_F(MainFormLifecycle, ATerminationSignalEndsTheProgramLikeExit)
{
    auto window = scope.start();
    QSignalSpy terminated(window.get(), &TfrmQuillet::Terminated);
    window->FEventList->AddCategory(QStringLiteral("Work"));

    ASSERT_EQ(std::raise(SIGTERM), 0);
    ASSERT_TRUE(waitFor([&] { return terminated.count() == 1; }));
    EXPECT_TRUE(readFile(window->FFileName).contains("Work"));
    EXPECT_EQ(setting(scope.folder(), QStringLiteral("START UP/Minimized")), QStringLiteral("0"));
}

TEST_F(MainFormLifecycle, TheSessionsEndIsARealExit)
{
    auto window = scope.start();
    QSignalSpy terminated(window.get(), &TfrmQuillet::Terminated);
    window->FEventList->AddCategory(QStringLiteral("Work"));
    EXPECT_TRUE(window->WMQueryEndSession());
    EXPECT_EQ(terminated.count(), 1);
    EXPECT_TRUE(readFile(window->FFileName).contains("Work"));
}

TEST_F(MainFormLifecycle, TheTrayMenuOffersShowHideNewEventAndExit)
{
    auto window = scope.start();
    QSignalSpy terminated(window.get(), &TfrmQuillet::Terminated);
    QMenu* tray = window->TrayIcon1->contextMenu();
    ASSERT_EQ(tray, window->pmnuTrayMenu);
    EXPECT_EQ(texts(tray), (QStringList{QStringLiteral("Show/Hide"), QStringLiteral("-"), QStringLiteral("New Event"),
                                        QStringLiteral("-"), QStringLiteral("Exit")}));
    EXPECT_EQ(tray->defaultAction(), window->actShowHide);
    EXPECT_TRUE(window->actShowHide->font().bold());
    EXPECT_EQ(window->pmnuitmAddNewEvent, window->actNewEvent);

    // A click on the icon and the menu's first item both toggle the window.
    emit window->TrayIcon1->activated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(window->isVisible());
    emit window->TrayIcon1->activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(window->isVisible());
    tray->actions().at(0)->trigger();
    EXPECT_FALSE(window->isVisible());
    emit window->TrayIcon1->activated(QSystemTrayIcon::Context); // opening the menu changes nothing
    EXPECT_FALSE(window->isVisible());

    tray->actions().at(4)->trigger();
    EXPECT_EQ(terminated.count(), 1);
}
