// The program's shell through the real window classes on the offscreen platform: the
// main window's start-up, close, life without a tray, tray menu and every kind of real
// exit; the splash and the About box; the version and file-name texts.
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QSystemTrayIcon>
#include <QTemporaryDir>

#include <csignal>

#include "AppTestSupport.h"
#include "app/About.h"
#include "app/FileVersion.h"
#include "app/Splash.h"

using testing_support::readFile;
using testing_support::writeFile;

namespace {

// The message the offscreen platform always causes: Ctrl+Shift+E can't be taken there.
const QString HotKeyMessage = "Unable to assign \"Ctrl+Shift+E\" as hotkey.";

class MainFormLifecycle : public app_testing::MainWindowTest {
protected:
    QString setting(const QString& key) const
    {
        return QSettings(folder + "Settings.ini", QSettings::IniFormat).value(key).toString();
    }
    // The messages that report failures.
    QStringList errors() const
    {
        QStringList result = messages;
        result.removeAll(HotKeyMessage);
        return result;
    }
};

TEST_F(MainFormLifecycle, StartUpRunsEveryStepAndShowsTheWindowInItsDesignSize)
{
    TfrmQuillet& window = start();
    EXPECT_EQ(window.FFileName, folder + "Events.events");
    EXPECT_TRUE(window.tmrCheckEvents->isActive());
    EXPECT_TRUE(SplashVisible());
    EXPECT_EQ(messages, QStringList{HotKeyMessage}) << "one plain message, and start-up goes on";
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.TrayIcon1->isVisible());
    // Centred horizontally at top 225.
    EXPECT_EQ(window.size(), QSize(822, 622 + window.mnuMainMenu->sizeHint().height()));
    EXPECT_EQ(window.pos(), QPoint((QGuiApplication::primaryScreen()->size().width() - 822) / 2, 225));
    screenshot(window, "main-window");
    screenshot(*frmSplash(), "splash");
    EXPECT_TRUE(QTest::qWaitFor([] { return !SplashVisible(); })) << "its timer hides it after the minimum time";

    TfrmAbout about;
    QTimer::singleShot(0, [] {
        screenshot(*QApplication::activeModalWidget(), "about");
        QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return);
    });
    EXPECT_TRUE(about.Execute());
}

TEST_F(MainFormLifecycle, CloseOnlyHidesAndSavesWhereTheFileWasGiven)
{
    QTemporaryDir startFolder, laterFolder;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(startFolder.path());
    QDir(startFolder.path()).mkpath("plans");
    TfrmQuillet& window = start({"plans/My.events"});
    EXPECT_EQ(window.FFileName, startFolder.filePath("plans/My.events"));
    QSignalSpy terminated(&window, &TfrmQuillet::Terminated);
    window.close();
    EXPECT_FALSE(QFileInfo::exists(window.FFileName)) << "nothing changed, nothing written";

    // A file dialog may change the working folder later: the file stays where it was.
    QDir::setCurrent(laterFolder.path());
    window.ShowMainWindow();
    window.FEventList->AddCategory("Work");
    EXPECT_FALSE(window.close());
    QDir::setCurrent(previous);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(readFile(window.FFileName).contains("Work"));
    EXPECT_EQ(terminated.count(), 0) << "the program goes on in the tray";
    EXPECT_FALSE(QFileInfo::exists(folder + "Settings.ini"));
}

TEST_F(MainFormLifecycle, WithoutATrayTheWindowIsMinimisedInsteadOfHidden)
{
    setSystemTrayAvailableForTests(false);
    writeFile(folder + "Settings.ini", "[START UP]\nMinimized=1\n");
    TfrmQuillet& window = start();
    EXPECT_TRUE(window.isVisible()) << "a start in the tray would leave the user no way in";
    window.close();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isMinimized());
}

TEST_F(MainFormLifecycle, EveryRealExitSavesWritesTheSettingsAndCleansTheTemporaryFolder)
{
    const std::pair<const char*, std::function<void(TfrmQuillet&)>> exits[] = {
        {"Exit", [](TfrmQuillet& window) { window.actExit->trigger(); }},
        {"end of session", [](TfrmQuillet& window) { EXPECT_TRUE(window.WMQueryEndSession()); }},
        {"SIGTERM", [](TfrmQuillet&) { ASSERT_EQ(std::raise(SIGTERM), 0); }},
    };
    for (const auto& [name, exit] : exits) {
        SCOPED_TRACE(name);
        QFile::remove(folder + "Settings.ini");
        TfrmQuillet& window = start();
        QSignalSpy terminated(&window, &TfrmQuillet::Terminated);
        writeFile(folder + "tmp/~qv1A2B.tmp", "echo left over\n");
        window.FEventList->AddCategory(name); // a new one each time

        exit(window);
        ASSERT_TRUE(QTest::qWaitFor([&] { return terminated.count() == 1; }));
        EXPECT_TRUE(readFile(window.FFileName).contains(name));
        EXPECT_EQ(setting("START UP/Minimized"), "0");
        EXPECT_TRUE(QDir(folder + "tmp").entryList(QDir::Files).isEmpty());
        EXPECT_EQ(errors(), QStringList());
    }
}

TEST_F(MainFormLifecycle, AFailureDuringTheExitKeepsTheProgramRunning)
{
    TfrmQuillet& window = start();
    QSignalSpy terminated(&window, &TfrmQuillet::Terminated);
    window.FFileName = folder + "events/Blocked.events";
    QDir().mkpath(window.FFileName); // a folder where the event file should be
    window.FEventList->AddCategory("Work");
    window.actExit->trigger();
    EXPECT_EQ(errors().size(), 1);
    EXPECT_TRUE(window.FEventList->Modified);
    EXPECT_FALSE(QFileInfo::exists(folder + "Settings.ini")) << "the exit stopped at the save";

    // Settings that can't be written stop it too, before the clean-up.
    window.FFileName = folder + "events/Fixed.events";
    QDir().mkpath(folder + "Settings.ini");
    writeFile(folder + "tmp/~qv1.tmp", "");
    EXPECT_FALSE(window.WMQueryEndSession()) << "the session is told the program could not end";
    ASSERT_EQ(errors().size(), 2);
    EXPECT_TRUE(errors()[1].contains("Settings.ini"));
    EXPECT_TRUE(QFileInfo::exists(folder + "tmp/~qv1.tmp"));
    EXPECT_EQ(terminated.count(), 0);

    // Once everything can be written, any close request ends the program.
    QDir(folder + "Settings.ini").removeRecursively();
    window.close();
    EXPECT_EQ(terminated.count(), 1);
    EXPECT_TRUE(readFile(window.FFileName).contains("Work"));
}

TEST_F(MainFormLifecycle, ADamagedEventFileIsReportedAndLeftAloneWhileStartUpGoesOn)
{
    const QByteArray damaged = "<QuilletEventFile>\r\nthis is not the rest of it";
    writeFile(folder + "Events.events", damaged);
    writeFile(folder + "Settings.ini", "[POSITION]\nMainWindowX=17\n");
    TfrmQuillet& window = start();
    EXPECT_EQ(errors(), QStringList{"Wrong file format"});
    EXPECT_TRUE(window.tmrCheckEvents->isActive());

    // Neither the save timer nor an exit writes over the file the user still needs.
    QTest::qWait(1200);
    window.actExit->trigger();
    EXPECT_EQ(readFile(folder + "Events.events"), damaged);
    EXPECT_EQ(setting("POSITION/MainWindowX"), "17") << "the settings were read after the failed load";
}

TEST_F(MainFormLifecycle, TheTrayMenuShowsHidesStartsAnEventAndExits)
{
    TfrmQuillet& window = start();
    QMenu* tray = window.TrayIcon1->contextMenu();
    EXPECT_EQ(tray->defaultAction(), window.actShowHide);
    EXPECT_EQ(tray->actions().at(2), window.actNewEvent);

    // A click on the icon and the menu's first item both toggle the window.
    emit window.TrayIcon1->activated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(window.isVisible());
    emit window.TrayIcon1->activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(window.isVisible());
    tray->actions().at(0)->trigger();
    EXPECT_FALSE(window.isVisible());

    // Exit ends the program; after an exit while hidden the next start stays in the tray.
    QSignalSpy terminated(&window, &TfrmQuillet::Terminated);
    tray->actions().at(4)->trigger();
    EXPECT_EQ(terminated.count(), 1);
    TfrmQuillet& next = start();
    EXPECT_FALSE(next.isVisible());
    EXPECT_TRUE(next.TrayIcon1->isVisible());
}

TEST(GetFileVersionString, FillsThePlaceholdersForTheProgramFileOnly)
{
    const std::pair<const char*, const char*> templates[] = {
        {"@A.@B.@C, Build:  @D", "3.4.5, Build:  67"}, {"@a.@b.@c.@d", "3.4.5.67"}, {"v@A@A-@E @", "v33-@E @"}};
    for (const auto& [text, expected] : templates)
        EXPECT_EQ(FormatFileVersion(text, TFileVersion{3, 4, 5, 67}), expected) << text;

    const QString program = QCoreApplication::applicationFilePath();
    EXPECT_EQ(GetFileVersionString(program, "@A.@B.@C"), FormatFileVersion("@A.@B.@C", ProgramFileVersion()));
    QTemporaryDir folder;
    ASSERT_TRUE(QFile::link(program, folder.filePath("linked-program")));
    EXPECT_EQ(GetFileVersionString(folder.filePath("linked-program"), "@A"),
              QString::number(ProgramFileVersion().Major))
        << "the program reached through a link";
    // Any other file, or none at all, has no version: even a template without placeholders gives ''.
    EXPECT_EQ(GetFileVersionString(testing_support::writeFile(folder.filePath("other.exe"), "MZ"), "plain"), "");
    EXPECT_EQ(GetFileVersionString(folder.filePath("missing"), "@A"), "");
}

TEST(ExtractFileNameNoExt, TakesTheNameWithoutFolderAndLastExtension)
{
    const std::pair<const char*, const char*> cases[] = {{"/home/ann/my.list.events", "my.list"},
                                                         {"/home/ann.d/README", "README"},
                                                         {"/home/ann/ending.", "ending"},
                                                         {"name.events", "name"},
                                                         {"/home/ann/", ""},
                                                         {"", ""}};
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(ExtractFileNameNoExt(path), expected) << path;
}

} // namespace
