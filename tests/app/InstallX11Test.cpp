// The build installed as `cmake --install` does it, its desktop files validated, and
// the installed program run by a user who can't write the prefix.
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>

#include "../dialogs/TestEvent.h"
#include "OtherUser.h"
#include "TestSupport.h"
#include "app/MainForm.h"
#include "platform/ProgramFolder.h"
#include "platform/gui/ErrorReport.h"

using testing_support::readFile;
using testing_support::writeFile;

namespace {

// The install folders under the prefix, as the build was configured.
const QString Bin = "/" QUILLET_INSTALL_BINDIR;
const QString Share = "/" QUILLET_INSTALL_DATADIR;

// Runs a tool to its end; its output (both channels) goes to Output.
int runTool(const QString& program, const QStringList& arguments, QString* Output = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return -1;
    if (Output)
        *Output = QString::fromUtf8(process.readAll());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// The names of the files opened in the watched folders, as the kernel reports them.
class OpenedFiles {
public:
    OpenedFiles() : FDescriptor(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}
    ~OpenedFiles() { ::close(FDescriptor); }

    bool watch(const QString& Folder)
    {
        return inotify_add_watch(FDescriptor, QFile::encodeName(Folder).constData(), IN_OPEN) >= 0;
    }

    const QStringList& names()
    {
        alignas(inotify_event) char buffer[4096];
        ssize_t length;
        while ((length = ::read(FDescriptor, buffer, sizeof buffer)) > 0)
            for (char* at = buffer; at < buffer + length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                if (event->len > 0)
                    FNames << QFile::decodeName(event->name);
                at += sizeof(inotify_event) + event->len;
            }
        return FNames;
    }

private:
    int FDescriptor;
    QStringList FNames;
};

// The visible windows of the process Pid.
QStringList windowsOf(qint64 Pid)
{
    QString ids;
    runTool("xdotool", {"search", "--onlyvisible", "--pid", QString::number(Pid)}, &ids);
    return ids.split('\n', Qt::SkipEmptyParts);
}

// A left click at Point of Window, in the display's pixels.
int clickAt(const QString& Window, const QPoint& Point)
{
    return runTool("xdotool", {"mousemove", "--window", Window, QString::number(Point.x()), QString::number(Point.y()),
                               "click", "1"});
}

// The value of Key in the installed desktop entry.
QString desktopEntryValue(const QString& Prefix, const QString& Key)
{
    const QString entry = QString::fromUtf8(readFile(Prefix + Share + "/applications/org.example.quillet.desktop"));
    return QRegularExpression("^" + Key + "=(.*)$", QRegularExpression::MultilineOption).match(entry).captured(1);
}

// Where Options > Start at Login shows in French, found in a main window of this build
// reading the installed catalogues; gone before the program starts, to free its hotkey.
struct StartAtLoginPlaces {
    QPoint OptionsTitle;
    QPoint Item;
};
StartAtLoginPlaces startAtLoginPlaces(const QString& Prefix)
{
    const QString testFolder = programFolder();
    setProgramFolderForTests(Prefix + Bin);
    QStringList messages;
    setMessageSinkForTests([&](const QString& Message) { messages << Message; });
    StartAtLoginPlaces places;
    {
        TfrmQuillet window({});
        window.SetLanguage("fr");
        const auto* options = window.findChild<QMenu*>("mnuOptions");
        auto* item = window.findChild<QAction*>("mnuitmStartWithWindows");
        if (options && item) {
            // xdotool counts the display's pixels.
            const qreal scale = window.devicePixelRatioF();
            const QMenuBar* bar = window.menuBar();
            places.OptionsTitle = bar->mapTo(&window, bar->actionGeometry(options->menuAction()).center()) * scale;
            places.Item = options->actionGeometry(item).center() * scale;
        }
    }
    setMessageSinkForTests({});
    setProgramFolderForTests(testFolder);
    EXPECT_EQ(messages, QStringList());
    return places;
}

// LSAN_OPTIONS naming a suppressions file that the other user can read too.
QString readableLeakOptions(const QString& Folder)
{
    QString options = qEnvironmentVariable("LSAN_OPTIONS");
    const QRegularExpressionMatch file = QRegularExpression("suppressions=([^:]+)").match(options);
    if (file.hasMatch() && QFile::copy(file.captured(1), Folder + "/lsan.supp"))
        options.replace(file.captured(1), Folder + "/lsan.supp");
    return options;
}

class InstallX11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        ASSERT_EQ(chmod(QFile::encodeName(root.path()).constData(), 0755), 0);
        QString output;
        ASSERT_EQ(runTool(QUILLET_CMAKE, {"--install", QUILLET_BUILD_DIR, "--prefix", prefix}, &output), 0)
            << output;
    }

    // As root (CI) the program runs as nobody, else as the tester; home and runtime are its own.
    void prepareUser()
    {
        if (testing_support::mayActAsAnotherUser()) {
            otherUser = testing_support::OtherUser::nobody();
            user = otherUser->Uid;
            group = otherUser->Gid;
        }
        home = userFolder("home");
        runtime = userFolder("home/runtime");
        ASSERT_EQ(chmod(QFile::encodeName(runtime).constData(), 0700), 0);
    }

    // A folder of the user's in the temporary folder.
    QString userFolder(const QString& Path)
    {
        QString made = root.path();
        for (const QString& part : Path.split('/')) {
            made += "/" + part;
            QDir().mkpath(made);
            EXPECT_EQ(chown(QFile::encodeName(made).constData(), user, group), 0);
        }
        return made + "/";
    }

    // Starts Program as the user, in French, with the XDG folders left to their defaults.
    void start(QProcess& Quillet, const QString& Program)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "LC_ALL",
                                 "LC_MESSAGES", "LANGUAGE"})
            environment.remove(name);
        environment.insert("HOME", home);
        environment.insert("XDG_RUNTIME_DIR", runtime);
        environment.insert("LANG", "fr_FR.UTF-8");
        environment.insert("LSAN_OPTIONS", readableLeakOptions(root.path()));
        Quillet.setProcessEnvironment(environment);
        if (otherUser)
            otherUser->startsAs(Quillet);
        Quillet.start(Program);
        ASSERT_TRUE(Quillet.waitForStarted(5000));
    }

    // The main window is the program's one window: the splash gone, and no message.
    void expectTheMainWindowAlone(const QProcess& Quillet)
    {
        const auto mainWindowAlone = [&] {
            const QStringList windows = windowsOf(Quillet.processId());
            QString geometry;
            if (windows.size() == 1)
                runTool("xdotool", {"getwindowgeometry", "--shell", windows[0]}, &geometry);
            return geometry.contains(QRegularExpression("WIDTH=([5-9]..|....)\n"));
        };
        ASSERT_TRUE(QTest::qWaitFor(mainWindowAlone, 5000));
        QTest::qWait(300);
        EXPECT_TRUE(mainWindowAlone());
    }

    // Ends the program as a log-out would; its settings are then in the user's config folder.
    void endAndExpectSettingsInTheConfigurationFolder(QProcess& Quillet)
    {
        Quillet.terminate();
        ASSERT_TRUE(Quillet.waitForFinished(10000));
        const QString standardError = QString::fromLocal8Bit(Quillet.readAllStandardError());
        EXPECT_EQ(Quillet.exitStatus(), QProcess::NormalExit) << standardError;
        EXPECT_EQ(
            QSettings(home + ".config/Quillet/Settings.ini", QSettings::IniFormat).value("START UP/Minimized").toString(),
            "0")
            << standardError;
    }

    // /tmp, as the test's own temporary folder may be closed to other users.
    QTemporaryDir root{"/tmp/quillet-install-XXXXXX"};
    const QString prefix = root.filePath("prefix");
    uid_t user = getuid();
    gid_t group = getgid();
    std::optional<testing_support::OtherUser> otherUser;
    QString home;
    QString runtime;
};

TEST_F(InstallX11, TheDesktopEntryIconAndMetainfoAreValidAndNameTheInstalledProgram)
{
    const QString entryFile = prefix + Share + "/applications/org.example.quillet.desktop";
    QString output;
    EXPECT_EQ(runTool("desktop-file-validate", {entryFile}, &output), 0) << output;
    EXPECT_FALSE(output.contains("error:") || output.contains("warning:") || output.contains("hint:")) << output;
    EXPECT_EQ(runTool("appstreamcli", {"validate", "--no-net", prefix + Share + "/metainfo/org.example.quillet.metainfo.xml"},
                      &output),
              0)
        << output;

    EXPECT_EQ(desktopEntryValue(prefix, "Exec"), "\"" + prefix + Bin + "/quillet\" %f");
    // One main category, or some menus list the program twice.
    EXPECT_EQ(desktopEntryValue(prefix, "Categories"), "Office;Calendar;");
    EXPECT_TRUE(readFile(prefix + Share + "/metainfo/org.example.quillet.metainfo.xml")
                    .contains(QByteArray("<release version=\"") + QUILLET_VERSION + "\""));
    const QString icon = desktopEntryValue(prefix, "Icon");
    QStringList sizes;
    for (QDirIterator it(prefix + Share + "/icons/hicolor", {icon + ".png"}, QDir::Files, QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString file = it.next();
        const QSize size = QImage(file).size();
        EXPECT_EQ(QString("%1x%2").arg(size.width()).arg(size.height()), file.section('/', -3, -3)) << file;
        sizes << file.section('/', -3, -3);
    }
    sizes.sort();
    EXPECT_TRUE(sizes.contains("48x48") && sizes.contains("256x256")) << sizes.join(' ').toStdString();
}

TEST_F(InstallX11, TheInstalledProgramReadsShareQuilletAndKeepsTheUsersFilesInTheUsersFolders)
{
    prepareUser();
    const QString shared = prefix + Share + "/quillet/";
    const QStringList sounds = QDir(shared).entryList({"*.wav"}, QDir::Files);
    ASSERT_TRUE(sounds.contains("default.wav")) << sounds.join(' ').toStdString();
    // A sound device that plays into nothing, so the alarm's file is really read.
    writeFile(home + ".asoundrc", "pcm.!default { type null }\nctl.!default { type hw card 0 }\n");
    // The default event file, with a reminder due at once that rings "Bell" and runs a command.
    const QString data = userFolder("home/.local/share/Quillet");
    TEventList list;
    TestEvent{.when = Now() - 1.0 / 24,
              .description = "Water the plants",
              .reminder = true,
              .commands = "#!sh\nstat -c '%a %u' \"${0%/*}\" > \"$HOME/folder\"\necho \"$0\" > \"$HOME/ran\"\n"}
        .addTo(list);
    list.GetEvent(0)->AudioNotify = true;
    list.GetEvent(0)->AlarmSound = "Bell";
    list.SaveToFile(data + "Events.events");
    ASSERT_EQ(chown(QFile::encodeName(data + "Events.events").constData(), user, group), 0);

    const StartAtLoginPlaces places = startAtLoginPlaces(prefix);
    ASSERT_FALSE(places.OptionsTitle.isNull() || places.Item.isNull());

    OpenedFiles opened;
    ASSERT_TRUE(opened.watch(shared));
    ASSERT_TRUE(opened.watch(shared + "LOCALE/fr/LC_MESSAGES"));
    QProcess quillet;
    start(quillet, prefix + Bin + "/quillet");

    // French at start-up; the bell and the command at the first check (5 s); the save 1 s later.
    EXPECT_TRUE(QTest::qWaitFor([&] { return opened.names().contains("default.mo"); }, 15000))
        << opened.names().join(' ').toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return opened.names().contains("Bell.wav"); }, 15000))
        << opened.names().join(' ').toStdString();
    const QDir backups(data + "Backup");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !backups.entryList(QDir::Files).isEmpty(); }, 5000))
        << "the event file saved where it was read, with its backup beside it";
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(home + "ran"); }, 5000));
    EXPECT_TRUE(readFile(home + "ran").startsWith(QFile::encodeName(runtime + "quillet-tmp/")))
        << readFile(home + "ran").constData();
    EXPECT_EQ(readFile(home + "folder"), "700 " + QByteArray::number(user) + "\n") << "a folder of the user's alone";
    expectTheMainWindowAlone(quillet);
    const QString window = windowsOf(quillet.processId()).value(0);
    // A dock or task bar finds the menu entry, and its icon, of a running window by its class.
    QString windowClass;
    runTool("xprop", {"-id", window, "WM_CLASS"}, &windowClass);
    const QString entryClass = desktopEntryValue(prefix, "StartupWMClass");
    EXPECT_TRUE(!entryClass.isEmpty() && windowClass.contains("\"" + entryClass + "\"\n")) << windowClass.toStdString();
    // Options > Start at Login: the exit writes the entry.
    ASSERT_EQ(clickAt(window, places.OptionsTitle), 0);
    // The opened menu, not a hint that the pointer may have called up on its way.
    QString menu;
    const auto isMenu = [](const QString& Window) {
        QString type;
        runTool("xprop", {"-id", Window, "_NET_WM_WINDOW_TYPE"}, &type);
        return type.contains("_MENU");
    };
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (const QString& shown : windowsOf(quillet.processId()))
                if (shown != window && isMenu(shown))
                    menu = shown;
            return !menu.isEmpty();
        },
        5000))
        << "the Options menu opened";
    ASSERT_EQ(clickAt(menu, places.Item), 0);
    endAndExpectSettingsInTheConfigurationFolder(quillet);
    EXPECT_TRUE(readFile(home + ".config/autostart/Quillet.desktop")
                    .contains("\nExec=\"" + QFile::encodeName(prefix + Bin) + "/quillet\"\n"));
    EXPECT_EQ(QDir(prefix + Bin).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList("quillet"));
}

// A portable copy, the program with its files, in a folder its user can't write.
TEST_F(InstallX11, APortableCopyTheUserCantWriteReadsItsFilesBesideItAndKeepsTheUsersInTheUsersFolders)
{
    SKIP_UNLESS_ABLE_TO_ACT_AS_ANOTHER_USER();
    prepareUser();
    const QString portable = root.filePath("portable/");
    ASSERT_EQ(runTool("cp", {"-R", prefix + Share + "/quillet", portable}), 0);
    ASSERT_TRUE(QFile::copy(prefix + Bin + "/quillet", portable + "quillet"));
    const QStringList shipped = QDir(portable).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);

    OpenedFiles opened;
    ASSERT_TRUE(opened.watch(portable + "LOCALE/fr/LC_MESSAGES"));
    QProcess quillet;
    start(quillet, portable + "quillet");
    EXPECT_TRUE(QTest::qWaitFor([&] { return opened.names().contains("default.mo"); }, 15000));
    expectTheMainWindowAlone(quillet);
    endAndExpectSettingsInTheConfigurationFolder(quillet);
    EXPECT_EQ(QDir(portable).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), shipped);
}

} // namespace
