// The main window's start-up, close, tray and every kind of exit, also failing ones;
// damaged event files; the splash, the About box, the version and file-name texts.
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScopeGuard>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QSysInfo>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <csignal>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "AppTestSupport.h"
#include "OtherUser.h"
#include "app/About.h"
#include "app/EventFileBackups.h"
#include "app/FileVersion.h"
#include "app/RecoveryFile.h"
#include "app/Splash.h"
#include "events/Exceptions.h"
#include "platform/ProgramFolder.h"

using testing_support::messageOf;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

const QString HotKeyMessage = "Unable to assign \"Ctrl+Shift+E\" as hotkey.";

mode_t modeOf(const QString& path)
{
    struct stat status = {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0u;
}

class MainFormLifecycle : public app_testing::MainWindowTest {
protected:
    QString setting(const QString& key) const
    {
        return QSettings(folder + "Settings.ini", QSettings::IniFormat).value(key).toString();
    }
    QStringList errors() const
    {
        QStringList result = messages;
        result.removeAll(HotKeyMessage);
        return result;
    }
    static void exitBy(bool bySignal, TfrmQuillet& window)
    {
        QSignalSpy terminated(&window, &TfrmQuillet::Terminated);
        if (bySignal)
            ASSERT_EQ(std::raise(SIGTERM), 0);
        else
            window.actExit->trigger();
        ASSERT_TRUE(QTest::qWaitFor([&] { return terminated.count() == 1; }, 20000));
    }
};

TEST_F(MainFormLifecycle, StartUpRunsEveryStepAndShowsTheWindowInItsDesignSize)
{
    TfrmQuillet& window = start();
    EXPECT_EQ(window.FFileName, folder + "Events.events");
    EXPECT_TRUE(window.tmrCheckEvents->isActive());
    EXPECT_TRUE(SplashVisible());
    EXPECT_EQ(messages, QStringList{HotKeyMessage}) << "one plain message, and start-up goes on";
    EXPECT_TRUE(window.isVisible() && window.TrayIcon1->isVisible());
    // The design size centred at 225, cut to a narrower screen (800 x 800 here) at its
    // left edge, and moved up where the screen is too low to show all of it there.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize design(822, 622 + window.mnuMainMenu->sizeHint().height());
    EXPECT_EQ(window.size(), design.boundedTo(screen.size()));
    EXPECT_EQ(window.pos(), QPoint(design.width() > screen.width() ? screen.left() : (screen.width() - 822) / 2,
                                   std::min(225, screen.bottom() + 1 - window.height())));
    screenshot(window, "main-window");
    EXPECT_TRUE(QTest::qWaitFor([] { return !SplashVisible(); })) << "its timer hides it after the minimum time";

    TfrmAbout about;
    QTimer::singleShot(0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); });
    EXPECT_TRUE(about.Execute());
}

// At the first tick of its timer, however late a loaded machine lets it come.
TEST(Splash, GoesAsSoonAsItsMinimumTimeHasPassed)
{
    QElapsedTimer shown;
    shown.start();
    ShowSplash(1000, "1.2.3");
    ASSERT_TRUE(SplashVisible());
    QSignalSpy ticks(frmSplash()->Timer1, &QTimer::timeout);
    ASSERT_TRUE(QTest::qWaitFor([] { return !SplashVisible(); }, 20000));
    EXPECT_GE(shown.elapsed(), 1000);
    EXPECT_EQ(ticks.count(), 1) << "it covered the window for a second more";
}

TEST_F(MainFormLifecycle, UnderADarkColourSchemeTextsOnWhiteStayReadable)
{
    const QPalette before = QApplication::palette();
    QPalette dark(QColor(0x3c, 0x3c, 0x3c), QColor(0x2b, 0x2b, 0x2b));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(role, QColor(0xdd, 0xdd, 0xdd));
    QApplication::setPalette(dark);
    const auto darkest = [](QWidget* widget) {
        const QImage picture = widget->grab().toImage();
        int result = 255;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                result = std::min(result, picture.pixelColor(x, y).lightness());
        return result;
    };

    TfrmAbout about;
    about.adjustSize();
    EXPECT_LT(darkest(about.lblVersion), 0x60);
    EXPECT_LT(darkest(about.lblApplicationName), 0x90) << "blue";

    EXPECT_LT(darkest(start().vstEvents->header()), 0x60);
    QApplication::setPalette(before);
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
    EXPECT_TRUE(window.isVisible() && window.isMinimized());
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
        window.FEventList->AddCategory(name);

        exit(window);
        ASSERT_TRUE(QTest::qWaitFor([&] { return terminated.count() == 1; }));
        EXPECT_TRUE(readFile(window.FFileName).contains(name));
        EXPECT_EQ(setting("START UP/Minimized"), "0");
        EXPECT_TRUE(QDir(folder + "tmp").entryList(QDir::Files).isEmpty());
        EXPECT_EQ(errors(), QStringList());
    }
}

TEST_F(MainFormLifecycle, ARealExitWhoseSaveFailsKeepsTheChangesInARecoveryFileAndEnds)
{
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/";
    const QString blocked = writeFile(folder + "plain", "a file, not a folder") + "/Blocked.events";
    for (const bool bySignal : {false, true}) {
        SCOPED_TRACE(bySignal ? "SIGTERM" : "Exit");
        QDir(dataFolder).removeRecursively();
        messages.clear();
        TfrmQuillet& window = start();
        window.FFileName = blocked;
        window.FEventList->AddCategory("Work");
        clock.set(testing_support::at(2026, 12, 7, 1, 2, 3, 45));
        const QString recovery = dataFolder + "Blocked_20261207_010203045.events";

        testing::internal::CaptureStderr();
        exitBy(bySignal, window);
        const std::string standardError = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(readFile(recovery).contains("Work"));
        EXPECT_EQ(setting("START UP/Minimized"), "0") << "the exit went on to the settings";
        if (bySignal) {
            EXPECT_EQ(errors(), QStringList()) << "no one is asked or told during a signal's exit";
            EXPECT_NE(standardError.find(recovery.toStdString()), std::string::npos) << standardError;
            start();
            ASSERT_EQ(errors().size(), 1);
            EXPECT_TRUE(errors()[0].contains(blocked) && errors()[0].contains(recovery)) << errors()[0];
            messages.clear();
            start();
            EXPECT_EQ(errors(), QStringList()) << "told once";
        } else {
            ASSERT_EQ(errors().size(), 1);
            EXPECT_TRUE(errors()[0].contains("Blocked.events") && errors()[0].contains(recovery)) << errors()[0];
        }
    }
}

// A home where the data folder can't be made (read-only, or a file in its way): the
// save names the folder and the system's reason; one that can be made is made then.
TEST_F(MainFormLifecycle, ASaveNamesTheDataFolderThatCouldNotBeMade)
{
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    const QByteArray programPath = QFile::encodeName(folder);
    ASSERT_EQ(::chmod(programPath.constData(), 0777), 0)
        << "others may write it: the event file goes to the data folder";
    const auto restore = qScopeGuard([&] {
        qputenv("XDG_DATA_HOME", dataHome);
        qputenv("XDG_CONFIG_HOME", configHome);
        ::chmod(programPath.constData(), 0700);
    });
    // Not in the program's folder: others may change what lies there.
    QTemporaryDir users;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(users.filePath("config")));
    for (const QString& home : {writeFile(users.filePath("plain"), "a file, not a folder"), users.filePath("home")}) {
        qputenv("XDG_DATA_HOME", QFile::encodeName(home + "/data"));
        const QString data = home + "/data/" + QCoreApplication::applicationName() + "/";
        TfrmQuillet& window = start();
        ASSERT_EQ(window.FFileName, data + "Events.events");
        QDir(users.filePath("home")).removeRecursively(); // gone since the start: the save makes it again
        window.FEventList->AddCategory("Work");
        QString failure;
        try {
            window.SaveEvents();
        } catch (const EFileError& error) {
            failure = error.message();
        }
        const bool blocked = home.endsWith("plain");
        EXPECT_EQ(failure, blocked ? "Cannot create folder \"" + data + "\". Not a directory" : QString());
        EXPECT_EQ(readFile(window.FFileName).contains("Work"), !blocked);
        EXPECT_EQ(errors(), QStringList()) << "nothing to lock in a missing folder, and nothing said of it";

        // The settings' folder alike.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + "/config"));
        const QString config = chooseProgramFolders(folder).Settings;
        failure.clear();
        try {
            window.SaveSettings();
        } catch (const EFileError& error) {
            failure = error.message();
        }
        EXPECT_EQ(failure, blocked ? "Cannot create folder \"" + config + "\". Not a directory" : QString());
        EXPECT_EQ(QFileInfo::exists(config + "Settings.ini"), !blocked);
    }
}

// A private event file leaves no public copies, nor folders open to others; a shared
// one leaves its backup folder open to those who share it, whatever the umask.
TEST_F(MainFormLifecycle, BackupsAndRecoveryFilesKeepTheEventFilesPermissions)
{
    const mode_t umaskBefore = ::umask(022);
    const auto restore = qScopeGuard([&] { ::umask(umaskBefore); });
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/";
    TfrmQuillet& window = start();
    window.SaveEvents();
    const struct {
        mode_t mode, backupFolder, recovery;
    } cases[] = {{0600, 0700, 0600}, {0640, 0750, 0640}, {0664, 0775, 0644}, {0444, 0755, 0644}};
    for (const auto& [mode, backupFolder, recovery] : cases) {
        SCOPED_TRACE(mode);
        QDir(folder + "Backup").removeRecursively();
        QDir(dataFolder).removeRecursively();
        ASSERT_EQ(::chmod(QFile::encodeName(window.FFileName).constData(), mode), 0);
        clock.set(testing_support::at(2026, 12, 7, 1, 2, 3, mode));
        window.FEventList->AddCategory(QString::number(mode));
        window.SaveEvents();
        const QStringList backups = QDir(folder + "Backup").entryList(QDir::Files);
        ASSERT_EQ(backups.size(), 1);
        EXPECT_EQ(modeOf(folder + "Backup/" + backups[0]), mode);
        EXPECT_EQ(modeOf(folder + "Backup"), backupFolder);
        EXPECT_EQ(modeOf(window.FFileName), mode) << "the save keeps it too";

        EXPECT_EQ(modeOf(writeRecoveryFile(*window.FEventList, window.FFileName, Now()).Path), recovery);
        EXPECT_EQ(modeOf(dataFolder), 0700u);
        leaveNoticeForNextStart("a notice");
        EXPECT_EQ(modeOf(dataFolder + "Notice from the last exit.txt"), 0600u);
    }
    // Where others may look into the folder, only the user may read it.
    ASSERT_EQ(::chmod(QFile::encodeName(dataFolder).constData(), 0755), 0);
    clock.set(testing_support::at(2026, 12, 8));
    EXPECT_EQ(modeOf(writeRecoveryFile(*window.FEventList, window.FFileName, Now()).Path), 0600u);
    QDir(dataFolder).removeRecursively();
    EXPECT_EQ(modeOf(writeRecoveryFile(*window.FEventList, folder + "never saved.events", Now()).Path), 0600u);
}

// Root writes read-only files: these cases are the user's who is not root.
TEST_F(MainFormLifecycle, ForAUserAReadOnlyFileLosesNoChangesAndASharedFileSavesForEveryMember)
{
    SKIP_UNLESS_ABLE_TO_ACT_AS_ANOTHER_USER();
    const testing_support::OtherUser nobody = testing_support::OtherUser::nobody();
    // In /tmp, as the test's own temporary folder may be closed to other users.
    QTemporaryDir root("/tmp/quillet-user-XXXXXX");
    ASSERT_EQ(::chmod(QFile::encodeName(root.path()).constData(), 0755), 0);
    const auto usersFolder = [&](const QString& name, uid_t user, gid_t group, mode_t mode) {
        const QString made = root.filePath(name);
        EXPECT_TRUE(QDir().mkpath(made));
        EXPECT_EQ(::chown(QFile::encodeName(made).constData(), user, group), 0);
        EXPECT_EQ(::chmod(QFile::encodeName(made).constData(), mode), 0);
        return made + "/";
    };
    const QString own = usersFolder("own", nobody.Uid, nobody.Gid, 0755);
    const QString data = usersFolder("data", nobody.Uid, nobody.Gid, 0700);
    for (const mode_t mode : {0444u, 0400u, 0440u}) {
        SCOPED_TRACE(mode);
        const QString events = own + QString("Plans%1.events").arg(mode, 0, 8);
        TEventList list;
        list.SaveToFile(events);
        ASSERT_TRUE(nobody.makeOwnerOf(events));
        ASSERT_EQ(::chmod(QFile::encodeName(events).constData(), mode), 0);
        EXPECT_TRUE(nobody.run([&] {
            qputenv("XDG_DATA_HOME", QFile::encodeName(data));
            list.AddCategory("Work");
            try {
                list.SaveToFile(events);
                return false; // the file was not read-only to this user
            } catch (const EFileError&) {
            }
            return writeRecoveryFile(list, events, Now()).Path.startsWith(data);
        }));
        QDirIterator found(data, {"Plans*"}, QDir::Files, QDirIterator::Subdirectories);
        ASSERT_TRUE(found.hasNext());
        const QString recovery = found.next();
        EXPECT_EQ(modeOf(recovery), mode | 0600);
        EXPECT_TRUE(readFile(recovery).contains("Work"));
        QFile::remove(recovery);
    }

    // A group shares a file in a folder, with the setgid bit or without it. Its members
    // save it in turns, each with a backup, whatever their own primary group and umask.
    const group* users = getgrnam("users");
    ASSERT_NE(users, nullptr);
    const gid_t team = users->gr_gid;
    const struct {
        mode_t FolderMode;
        bool TeamIsPrimary; // else the saver's own group is
        mode_t Umask;
    } rows[] = {{02775, false, 002}, {0775, false, 002}, {0775, true, 002}, {0775, false, 022}, {02775, true, 022}};
    int row = 0;
    for (const auto& [folderMode, teamIsPrimary, umask] : rows) {
        SCOPED_TRACE(testing::Message() << std::oct << folderMode << " " << teamIsPrimary << " " << umask);
        const QString shared = usersFolder(QString("shared%1").arg(row++), 0, team, folderMode);
        const QString events = shared + "Team.events";
        const QByteArray path = QFile::encodeName(events);
        TEventList list;
        list.SaveToFile(events);
        ASSERT_EQ(::chown(path.constData(), 0, team), 0);
        ASSERT_EQ(::chmod(path.constData(), 0664), 0);
        int day = 7;
        for (const char* member : {"nobody", "daemon"}) {
            const passwd* user = getpwnam(member);
            ASSERT_NE(user, nullptr);
            const testing_support::OtherUser saver{
                user->pw_uid, teamIsPrimary ? team : user->pw_gid, {teamIsPrimary ? user->pw_gid : team}};
            const TDateTime time = testing_support::at(2026, 12, day++);
            EXPECT_TRUE(saver.run([&] {
                ::umask(umask);
                list.AddCategory(member);
                return !EventFileBackups().make(events, time).isEmpty() && (list.SaveToFile(events), true);
            })) << member;
            struct stat saved = {};
            ASSERT_EQ(::stat(path.constData(), &saved), 0);
            EXPECT_EQ(saved.st_gid, team) << member << " kept the file's group";
            EXPECT_EQ(saved.st_mode & 07777, 0664u) << member;
            EXPECT_TRUE(readFile(events).contains(member));
        }
        struct stat backup = {};
        ASSERT_EQ(::stat(QFile::encodeName(shared + "Backup").constData(), &backup), 0);
        EXPECT_EQ(backup.st_gid, team) << "the file's group";
        EXPECT_EQ(backup.st_mode & 07777, (folderMode & 02000) | 0775);
        const QStringList copies = QDir(shared + "Backup").entryList(QDir::Files);
        EXPECT_EQ(copies.size(), 2);
        for (const QString& copy : copies) {
            struct stat kept = {};
            ASSERT_EQ(::stat(QFile::encodeName(shared + "Backup/" + copy).constData(), &kept), 0);
            EXPECT_EQ(kept.st_gid, team) << copy;
            EXPECT_EQ(kept.st_mode & 07777, 0664u) << copy;
        }
    }
}

// A full or unwritable data folder sends the recovery file to the home folder, then to
// the runtime folder, and the user hears where it went.
TEST_F(MainFormLifecycle, ARecoveryFileGoesToTheFirstOfTheDataHomeAndRuntimeFoldersThatTakesIt)
{
    QTemporaryDir home, runtime;
    const QString plain = writeFile(folder + "plain", "a file, not a folder");
    const QByteArray before[] = {qgetenv("XDG_DATA_HOME"), qgetenv("HOME"), qgetenv("XDG_RUNTIME_DIR")};
    const auto restore = qScopeGuard([&] {
        qputenv("XDG_DATA_HOME", before[0]);
        qputenv("HOME", before[1]);
        qputenv("XDG_RUNTIME_DIR", before[2]);
    });
    qputenv("XDG_DATA_HOME", QFile::encodeName(plain + "/data"));
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    TEventList list;
    clock.set(testing_support::at(2026, 12, 7, 1, 2, 3, 45));
    const QString name = "/Plans_20261207_010203045.events";
    RecoveryFile recovery = writeRecoveryFile(list, folder + "Plans.events", Now());
    EXPECT_EQ(recovery.Path, home.path() + name);
    EXPECT_FALSE(recovery.EmptiedAtLogOut);

    qputenv("HOME", QFile::encodeName(plain + "/home"));
    recovery = writeRecoveryFile(list, folder + "Plans.events", Now());
    EXPECT_EQ(recovery.Path, runtime.path() + name);
    EXPECT_TRUE(recovery.EmptiedAtLogOut);
    EXPECT_TRUE(readFile(recovery.Path).contains("<QuilletEventFile>"));

    // A relative runtime folder is no runtime folder, though one of that name is at hand.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(runtime.path());
    qputenv("XDG_RUNTIME_DIR", "relative");
    QDir(runtime.path()).mkdir("relative");
    const QString lost = messageOf<EFileError>([&] { writeRecoveryFile(list, "Plans.events", Now()); });
    QDir::setCurrent(previous);
    EXPECT_FALSE(QFileInfo::exists(runtime.filePath("relative") + name));
    EXPECT_TRUE(lost.contains(plain + "/data") && lost.contains(plain + "/home")) << lost;

    // A signal's exit says it on standard error and at the next start.
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    TfrmQuillet& window = start();
    window.FFileName = plain + "/Blocked.events";
    window.FEventList->AddCategory("Work");
    testing::internal::CaptureStderr();
    exitBy(true, window);
    const QString standardError = QString::fromStdString(testing::internal::GetCapturedStderr());
    const QString logOut = "That folder is emptied when you log out";
    EXPECT_TRUE(standardError.contains(runtime.path() + "/Blocked_") && standardError.contains(logOut))
        << standardError;
    messages.clear();
    start();
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors()[0].contains(runtime.path() + "/Blocked_") && errors()[0].contains(logOut)) << errors()[0];

    // A notice the disk takes only in part leaves the ones before it whole, and no empty file.
    const QString notice = "/Notice from the last exit.txt";
    qputenv("HOME", QFile::encodeName(home.path()));
    leaveNoticeForNextStart("before");
    const QByteArray whole = readFile(home.path() + notice);
    rlimit unlimited{};
    getrlimit(RLIMIT_FSIZE, &unlimited);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit full = unlimited;
    full.rlim_cur = 20;
    setrlimit(RLIMIT_FSIZE, &full);
    leaveNoticeForNextStart(QString(100, 'x'));
    setrlimit(RLIMIT_FSIZE, &unlimited);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(readFile(home.path() + notice), whole);
    EXPECT_FALSE(QFileInfo::exists(runtime.path() + notice));
}

// The notice of the last exit is read only from a regular file of the user's that the
// program wrote, never through a link or from a pipe, and is gone only once read.
TEST_F(MainFormLifecycle, TheNoticeOfTheLastExitIsOnlyTheProgramsOwnAndGoesOnceRead)
{
    QTemporaryDir home;
    const QByteArray homeBefore = qgetenv("HOME");
    const auto restore = qScopeGuard([&] { qputenv("HOME", homeBefore); });
    qputenv("HOME", QFile::encodeName(home.path()));
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/";
    const QString notice = dataFolder + "Notice from the last exit.txt";
    const QString text = "The event file \"Plans.events\" could not be saved when Quillet was last closed.";
    leaveNoticeForNextStart(text);
    bool thereWhileShown = false;
    setMessageSinkForTests([&](const QString& message) {
        messages << message;
        thereWhileShown = QFileInfo::exists(notice);
    });
    start();
    EXPECT_EQ(errors(), QStringList{text});
    EXPECT_TRUE(thereWhileShown);
    EXPECT_FALSE(QFileInfo::exists(notice)) << "gone once its box was closed";
    messages.clear();
    start();
    EXPECT_EQ(errors(), QStringList()) << "shown once";

    // What another could have put there: a link (to a file of the user's), a pipe, a
    // file the program did not write.
    const QString profile = writeFile(home.filePath(".profile"), "mine\n");
    const std::function<void()> plant[] = {
        [&] { ASSERT_TRUE(QFile::link(profile, notice)); },
        [&] { ASSERT_EQ(::mkfifo(QFile::encodeName(notice).constData(), 0600), 0); },
        [&] { writeFile(notice, "Your events were moved to /tmp/x.events: import it now.\n"); }};
    for (std::size_t i = 0; i < std::size(plant); ++i) {
        SCOPED_TRACE(i);
        QDir().mkpath(dataFolder);
        plant[i]();
        messages.clear();
        start();
        EXPECT_EQ(errors(), QStringList()) << "not shown";
        leaveNoticeForNextStart("a notice");
        EXPECT_EQ(readFile(profile), "mine\n") << "nothing written through the link";
        EXPECT_TRUE(readFile(home.filePath("Notice from the last exit.txt")).contains("a notice"))
            << "it went to the next folder";
        struct stat planted = {};
        EXPECT_EQ(::lstat(QFile::encodeName(notice).constData(), &planted), 0) << "and nothing deleted";
        QFile::remove(notice);
        QFile::remove(home.filePath("Notice from the last exit.txt"));
    }
}

// Another user's Quillet/ in a shared XDG_DATA_HOME, with an event file of theirs: the
// program says so once, reads nothing from it and keeps the user's files under the
// home; with no folder of the user's own left, it runs without saving and says that.
TEST_F(MainFormLifecycle, ADataFolderOthersMayChangeIsNotUsedAndTheStartSaysSo)
{
    const QByteArray before[] = {qgetenv("XDG_DATA_HOME"), qgetenv("XDG_CONFIG_HOME"), qgetenv("HOME")};
    const auto restore = qScopeGuard([&] {
        qputenv("XDG_DATA_HOME", before[0]);
        qputenv("XDG_CONFIG_HOME", before[1]);
        qputenv("HOME", before[2]);
        setProgramFolderForTests(folder);
    });
    QTemporaryDir shared("/tmp/quillet-shared-XXXXXX"), home;
    ASSERT_EQ(::chmod(QFile::encodeName(shared.path()).constData(), 01777), 0);
    const QString theirs = shared.filePath(QCoreApplication::applicationName()) + "/";
    TEventList planted;
    planted.AddCategory("Planted");
    QDir().mkpath(theirs);
    planted.SaveToFile(theirs + "Events.events");
    ASSERT_EQ(::chmod(QFile::encodeName(theirs).constData(), 0777), 0) << "as its maker left it";
    qputenv("XDG_DATA_HOME", QFile::encodeName(shared.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
    qputenv("HOME", QFile::encodeName(home.path()));
    QDir().mkpath(folder + "prefix/share/quillet"); // installed: the user's files go to the user's folders
    setProgramFolderForTests(folder + "prefix/bin");
    const QString refused = "Other users may change the folder \"" + theirs + "\", so Quillet uses no file from it.";

    TfrmQuillet& window = start();
    const QString own = home.path() + "/.local/share/" + QCoreApplication::applicationName() + "/";
    EXPECT_EQ(window.FFileName, own + "Events.events");
    EXPECT_EQ(errors(), QStringList{refused});
    EXPECT_FALSE(window.FEventList->Categories.contains("Planted"));
    window.FEventList->AddCategory("Work");
    window.SaveEvents();
    EXPECT_TRUE(readFile(own + "Events.events").contains("Work"));
    EXPECT_EQ(QDir(theirs).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
              QStringList{"Events.events"});

    // The home others may change too: nothing to keep the events or settings in.
    QDir(home.filePath(".local")).removeRecursively();
    QDir(home.filePath("config")).removeRecursively();
    ASSERT_EQ(::chmod(QFile::encodeName(home.path()).constData(), 0777), 0);
    messages.clear();
    TfrmQuillet& unsaved = start();
    EXPECT_TRUE(unsaved.FFileName.isEmpty());
    const QString config = home.path() + "/config/" + QCoreApplication::applicationName() + "/";
    const auto refusal = [](const QString& folder) {
        return "Other users may change the folder \"" + folder + "\", so Quillet uses no file from it.";
    };
    const QStringList said{refused,
                           refusal(own),
                           refusal(config),
                           refusal(home.path() + "/.config/" + QCoreApplication::applicationName() + "/"),
                           "No folder of your own is left for your events: Quillet runs without saving them.",
                           "No folder of your own is left for your settings: Quillet runs without saving them."};
    EXPECT_EQ(errors(), QStringList{said.join("\r\n\r\n")});
    EXPECT_TRUE(unsaved.isVisible()) << "the program runs";
    unsaved.FEventList->AddCategory("Work");
    messages.clear();
    exitBy(false, unsaved);
    EXPECT_EQ(errors(), QStringList()) << "the start said it all";
    EXPECT_EQ(QDir(home.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden), QStringList())
        << "nothing written";
}

// Two programs on one event file would overwrite each other's changes.
TEST_F(MainFormLifecycle, ASecondProgramOnAnEventFileInUseSaysSoAndEndsWritingNothing)
{
    const QString events = folder + "events/Shared.events";
    QDir().mkpath(folder + "events");
    TfrmQuillet& first = start({events});
    first.FEventList->AddCategory("Mine");
    first.SaveEvents();
    const QByteArray settings = "[START UP]\nMinimized=0\n[POSITION]\nMainWindowX=17\n";
    writeFile(folder + "Settings.ini", settings);
    const QByteArray saved = readFile(events);
    const QString inUse = "The event file \"" + events + "\" is already in use by another Quillet";
    const QString closes = "This Quillet closes without changing anything.";

    messages.clear();
    {
        TfrmQuillet second({events});
        EXPECT_TRUE(second.IsTerminated());
        EXPECT_FALSE(second.isVisible() || second.TrayIcon1->isVisible());
        EXPECT_EQ(errors(), QStringList{inUse +
                                        QString(", run by %1 as process %2 on %3.")
                                            .arg(getpwuid(geteuid())->pw_name)
                                            .arg(QCoreApplication::applicationPid())
                                            .arg(QSysInfo::machineHostName()) +
                                        "\r\n\r\n" + closes});
        EXPECT_EQ(messages, errors()) << "said before anything else";
    }
    EXPECT_EQ(readFile(events), saved);
    EXPECT_EQ(QString(readFile(folder + "Settings.ini")), QString(settings));
    EXPECT_FALSE(QDir(folder + "events/Backup").exists());

    // A holder that left no name of its own: what the lock file says of a process gone is not told.
    window.reset();
    const QString lockFile = folder + "events/.Shared.events.lock";
    const int held = ::open(QFile::encodeName(lockFile).constData(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
    writeFile(lockFile, "999999999\n" + QSysInfo::machineHostName().toUtf8() + "\nghost\n");
    messages.clear();
    EXPECT_TRUE(start({events}).IsTerminated());
    EXPECT_EQ(errors(), QStringList{inUse + ".\r\n\r\n" + closes});
    ::close(held);
    TfrmQuillet& last = start({events});
    EXPECT_FALSE(last.IsTerminated()) << "once the other has gone, the file is free";
    last.actExit->trigger();
    TfrmQuillet next({events});
    EXPECT_FALSE(next.IsTerminated()) << "an exit frees the file at once, while the old program tidies up";
}

// A start that finds no folder takes no lock: the save that finds the folder made takes
// it, and writes nothing while another program that took it first runs.
TEST_F(MainFormLifecycle, TheSaveThatFindsTheFolderMadeTakesTheLock)
{
    const QString events = folder + "later/Plans.events";
    TfrmQuillet& first = start({events});
    EXPECT_EQ(errors(), QStringList{}) << "no lock is needed where no file can be";
    ASSERT_TRUE(QDir().mkpath(folder + "later"));
    first.FEventList->AddCategory("Mine");
    {
        TfrmQuillet second({events});
        ASSERT_FALSE(second.IsTerminated());
        const QString failure = messageOf([&] { first.SaveEvents(); });
        EXPECT_TRUE(
            failure.startsWith("The event file \"" + events + "\" is already in use by another Quillet, run by"))
            << failure;
        EXPECT_TRUE(failure.endsWith("\r\n\r\nThis Quillet saves nothing to it while the other one runs.")) << failure;
        EXPECT_FALSE(QFile::exists(events));
        EXPECT_TRUE(first.FEventList->Modified);
    }
    first.SaveEvents();
    EXPECT_TRUE(readFile(events).contains("Mine")) << "once the other has gone";
    messages.clear();
    TfrmQuillet third({events});
    EXPECT_TRUE(third.IsTerminated()) << "the save took the lock";
    EXPECT_EQ(errors().size(), 1);
}

// A lock file that can't be had (another's link in a shared folder): the user is told
// once that another program could change the file, and the program goes on with it.
TEST_F(MainFormLifecycle, AnEventFileThatCannotBeLockedIsSaidOnceAndUsed)
{
    const QString events = folder + "events/Shared.events";
    QDir().mkpath(folder + "events");
    ASSERT_TRUE(QFile::link(folder + "elsewhere", folder + "events/.Shared.events.lock"));
    TfrmQuillet& window = start({events});
    EXPECT_FALSE(window.IsTerminated());
    EXPECT_TRUE(window.isVisible());
    window.FEventList->AddCategory("Mine");
    window.SaveEvents();
    EXPECT_TRUE(readFile(events).contains("Mine"));
    EXPECT_EQ(errors(), QStringList{"The event file \"" + events +
                                    "\" cannot be locked, so another program could change it meanwhile."});
    EXPECT_FALSE(QFile::exists(folder + "elsewhere")) << "the link leads nowhere it made";
}

TEST_F(MainFormLifecycle, WithNoRecoveryFileEitherTheUserChoosesAndASignalEndsTheProgram)
{
    const QByteArray before[] = {qgetenv("XDG_DATA_HOME"), qgetenv("HOME"), qgetenv("XDG_RUNTIME_DIR")};
    const QString plain = writeFile(folder + "plain", "a file, not a folder");
    qputenv("XDG_DATA_HOME", QFile::encodeName(plain + "/data"));
    qputenv("HOME", QFile::encodeName(plain + "/home"));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(plain + "/runtime"));
    QStringList questions;
    bool answer = false;
    setQuestionAnswerForTests([&](const QString& question) {
        questions << question;
        return answer;
    });
    const auto restore = qScopeGuard([&] {
        setQuestionAnswerForTests({});
        qputenv("XDG_DATA_HOME", before[0]);
        qputenv("HOME", before[1]);
        qputenv("XDG_RUNTIME_DIR", before[2]);
    });
    TfrmQuillet& window = start();
    QSignalSpy terminated(&window, &TfrmQuillet::Terminated);
    window.FFileName = plain + "/Blocked.events";
    window.FEventList->AddCategory("Work");

    window.actExit->trigger();
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].endsWith("Quit and lose them?")) << questions[0];
    EXPECT_EQ(terminated.count(), 0) << "No keeps the program running";
    EXPECT_TRUE(window.FEventList->Modified);
    answer = true;
    window.actExit->trigger();
    EXPECT_EQ(terminated.count(), 1);

    TfrmQuillet& next = start();
    next.FFileName = plain + "/Blocked.events";
    next.FEventList->AddCategory("Work");
    questions.clear();
    exitBy(true, next);
    EXPECT_EQ(questions, QStringList());
}

TEST_F(MainFormLifecycle, SettingsThatCannotBeWrittenAreReportedOnceAndTheExitGoesOn)
{
    QDir().mkpath(folder + "Settings.ini");
    for (const bool bySignal : {false, true}) {
        SCOPED_TRACE(bySignal ? "SIGTERM" : "Exit");
        messages.clear();
        TfrmQuillet& window = start();
        window.FEventList->AddCategory("Work");
        writeFile(folder + "tmp/~qv1.tmp", "");
        exitBy(bySignal, window);
        EXPECT_TRUE(readFile(window.FFileName).contains("Work")) << "the event file is saved first";
        EXPECT_FALSE(QFileInfo::exists(folder + "tmp/~qv1.tmp"));
        if (bySignal) {
            EXPECT_EQ(errors(), QStringList());
        } else {
            ASSERT_EQ(errors().size(), 1);
            EXPECT_TRUE(errors()[0].contains("Settings.ini")) << errors()[0];
        }
        QFile::remove(window.FFileName);
    }
    QDir(folder + "Settings.ini").removeRecursively();
}

TEST_F(MainFormLifecycle, ASignalDuringAStartUpMessageClosesItAndLeavesTheSettingsAlone)
{
    const QByteArray damaged = "<QuilletEventFile>\r\nthis is not the rest of it";
    const QByteArray settings = "[START UP]\nMinimized=0\n[POSITION]\nMainWindowX=17\n";
    setMessageSinkForTests({}); // real boxes
    const QString notice =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/Notice from the last exit.txt";
    for (const QString box : {"hotkey", "could not be read", "when Quillet was last closed"}) {
        SCOPED_TRACE(box.toStdString());
        writeFile(folder + "Events.events", damaged);
        writeFile(folder + "Settings.ini", settings);
        leaveNoticeForNextStart("The event file \"Plans.events\" could not be saved when Quillet was last closed.");
        // OK for earlier boxes, a signal at this one; after 8 s OK for all, never hanging.
        QTimer answer;
        QElapsedTimer elapsed;
        elapsed.start();
        QObject::connect(&answer, &QTimer::timeout, [&] {
            auto* open = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!open)
                return;
            if (elapsed.elapsed() > 8000 || !open->text().contains(box)) {
                open->accept();
            } else if (open->text().contains(box)) {
                screenshot(*open, "start-up-box");
                std::raise(SIGTERM);
            }
        });
        answer.start(100);
        TfrmQuillet& window = start();
        answer.stop();
        EXPECT_TRUE(window.IsTerminated());
        EXPECT_LT(elapsed.elapsed(), 5000);
        EXPECT_EQ(QString(readFile(folder + "Settings.ini")), QString(settings));
        EXPECT_EQ(QString(readFile(folder + "Events.events")), QString(damaged));
        EXPECT_TRUE(QFileInfo::exists(notice)) << "the notice stays until its box is closed";
    }
}

TEST_F(MainFormLifecycle, ASignalDuringTheMessageOfAFailedCloseStillEndsTheProgram)
{
    TfrmQuillet& window = start();
    QSignalSpy terminated(&window, &TfrmQuillet::Terminated);
    window.FFileName = writeFile(folder + "plain", "a file, not a folder") + "/Blocked.events";
    window.FEventList->AddCategory("Work");
    setMessageSinkForTests({});
    QTimer signalAtTheBox;
    QObject::connect(&signalAtTheBox, &QTimer::timeout, [&] {
        if (qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            signalAtTheBox.stop();
            std::raise(SIGTERM);
        }
    });
    signalAtTheBox.start(50);
    testing::internal::CaptureStderr();
    window.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return terminated.count() == 1; }, 20000));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(MainFormLifecycle, AFileReadInPartIsReportedAndTheFirstSaveKeepsTheDamagedOriginal)
{
    const QByteArray one = "<Event>\r\n<Description>one</Description>\r\n</Event>\r\n";
    const QByteArray cutTwo = "<Notes>the rest of two</Notes>\r\n</Event>\r\n";
    const QByteArray three = "<Event>\r\n<Description>three</Description>\r\n</Event>\r\n";
    const QByteArray holed = "<QuilletEventFile>\r\n<Version>QV3.0</Version>\r\n<Categories>A\r\n</Categories>\r\n"
                             "<Events>\r\n" +
                             one + cutTwo + three + "</Events>\r\n</QuilletEventFile>\r\n";
    writeFile(folder + "Events.events", holed);
    clock.set(testing_support::at(2026, 12, 7, 1, 2, 3, 45));
    TfrmQuillet& window = start();
    const QString kept = folder + "Backup/Events_20261207_010203045.events";
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors()[0].contains("\"" + folder + "Events.events\"") && errors()[0].contains(kept)) << errors()[0];
    EXPECT_EQ(window.FEventList->Count(), 1);

    clock.set(testing_support::at(2026, 12, 7, 9, 0));
    window.FEventList->AddCategory("Work");
    window.SaveEvents();
    EXPECT_EQ(QDir(folder + "Backup").entryList(QDir::Files), QStringList{QFileInfo(kept).fileName()});
    EXPECT_EQ(readFile(kept), holed);
    EXPECT_EQ(errors().size(), 1) << "told once";
}

TEST_F(MainFormLifecycle, EveryKindOfDamageFoundInTheFileIsNamedInItsOneReport)
{
    const QByteArray damaged =
        "<QuilletEventFile>\r\n<Version>QV3.0</Version>\r\n<Categories>B\xC3\xBCro\r\n</Categories>\r\n<Events>\r\n"
        "<Event>\r\n<Description>caf\xE9</Description>\r\n" // no UTF-8, and no end tag
        "<Event>\r\n<Description>two</Description>\r\n</Event>\r\n" +
        QByteArray(100, '\0') + "stray\r\n</Events>\r\n</QuilletEventFile>\r\n";
    writeFile(folder + "Events.events", damaged);
    clock.set(testing_support::at(2026, 12, 7, 1, 2, 3, 45));
    TfrmQuillet& window = start();
    ASSERT_EQ(errors().size(), 1);
    const QStringList lines = errors()[0].split("\r\n");
    EXPECT_EQ(lines,
              (QStringList{"Not all of the event file \"" + folder + "Events.events\" could be read as it was written:",
                           "Some of its text could not be read as events and was left out.",
                           "An event had no end tag: it was taken to end where the next event begins.",
                           "It holds zero bytes where part of the file was lost: events there may be incomplete.",
                           "Some texts were not valid UTF-8 and were read as Windows-1252, the others as UTF-8.", "",
                           "The first save will keep a copy of this file as \"" + folder +
                               "Backup/Events_20261207_010203045.events\"."}));
    ASSERT_EQ(window.FEventList->Count(), 2);
    EXPECT_EQ(window.FEventList->GetEvent(0)->Description, "café");
    EXPECT_EQ(window.FEventList->Categories, QStringList{"Büro"});
}

// A file that can't be read for a copy (another user's private file, a folder, a pipe)
// is promised no copy: the user hears what happens instead.
TEST_F(MainFormLifecycle, AFileThatCannotBeCopiedIsPromisedNoCopy)
{
    const TDateTime time = testing_support::at(2026, 12, 7, 1, 2, 3);
    const auto promised = [&](const QString& path) {
        return !EventFileBackups().keepDamagedOriginal(path, time).isEmpty();
    };
    EXPECT_TRUE(promised(writeFile(folder + "readable.events", "<QuilletEventFile>")));
    ASSERT_TRUE(QDir().mkpath(folder + "folder.events"));
    EXPECT_FALSE(promised(folder + "folder.events"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder + "pipe.events").constData(), 0644), 0);
    EXPECT_FALSE(promised(folder + "pipe.events"));
    if (testing_support::mayActAsAnotherUser()) {
        // In /tmp, as the test's own temporary folder may be closed to other users.
        QTemporaryDir others("/tmp/quillet-user-XXXXXX");
        ASSERT_EQ(::chmod(QFile::encodeName(others.path()).constData(), 0755), 0);
        const QString private_ = writeFile(others.filePath("Private.events"), "<QuilletEventFile>");
        ASSERT_EQ(::chmod(QFile::encodeName(private_).constData(), 0600), 0);
        EXPECT_TRUE(testing_support::OtherUser::nobody().run([&] { return !promised(private_); }))
            << "another user's private file";
    }

    ASSERT_TRUE(QDir().mkpath(folder + "Events.events"));
    start();
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors()[0].startsWith("The event file \"" + folder + "Events.events\" could not be read."));
    EXPECT_TRUE(errors()[0].endsWith(
        "\r\n\r\nNo copy of it can be kept, so Quillet will not save over it: when Quillet ends, your changes are "
        "written to a file of their own, and you are told where."))
        << errors()[0];
    for (const char* made : {"Events.events", "folder.events"})
        QDir(folder + made).removeRecursively();
    QFile::remove(folder + "pipe.events");
    QFile::remove(folder + "readable.events");
}

TEST_F(MainFormLifecycle, TheTrayMenuShowsHidesStartsAnEventAndExits)
{
    TfrmQuillet& window = start();
    QMenu* tray = window.TrayIcon1->contextMenu();
    EXPECT_EQ(tray->defaultAction(), window.actShowHide);
    EXPECT_EQ(tray->actions().at(2), window.actNewEvent);

    emit window.TrayIcon1->activated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(window.isVisible());
    emit window.TrayIcon1->activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(window.isVisible());
    tray->actions().at(0)->trigger();
    EXPECT_FALSE(window.isVisible());

    QSignalSpy terminated(&window, &TfrmQuillet::Terminated);
    tray->actions().at(4)->trigger();
    EXPECT_EQ(terminated.count(), 1);
    TfrmQuillet& next = start();
    EXPECT_TRUE(!next.isVisible() && next.TrayIcon1->isVisible()) << "hidden at the exit: starts in the tray";
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
