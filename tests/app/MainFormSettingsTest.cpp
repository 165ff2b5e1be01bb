// Settings.ini, the window's place and Start at Login through real exits and starts.
#include <QGuiApplication>
#include <QHeaderView>
#include <QListWidget>
#include <QScreen>

#include <limits>

#include "AppTestSupport.h"
#include "app/IniFile.h"
#include "app/WindowPlacement.h"
#include "platform/Autostart.h"
#include "platform/GetText.h"

using testing_support::readFile;
using testing_support::writeFile;

namespace {

class MainFormSettings : public app_testing::MainWindowTest {
protected:
    MainFormSettings() { QFile::remove(autostart::entryFileName()); }
    ~MainFormSettings() override { QFile::remove(autostart::entryFileName()); }

    void exitProgram()
    {
        QSignalSpy terminated(window.get(), &TfrmQuillet::Terminated);
        window->actExit->trigger();
        ASSERT_EQ(terminated.count(), 1);
    }
    void useCategories(const QStringList& names, const QStringList& ticked)
    {
        window->clstCategories->clear();
        for (const QString& name : names) {
            auto* item = new QListWidgetItem(name, window->clstCategories);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(ticked.contains(name) ? Qt::Checked : Qt::Unchecked);
        }
    }
    QStringList tickedCategories() const
    {
        QStringList names;
        for (int i = 0; i < window->clstCategories->count(); ++i)
            if (window->clstCategories->item(i)->checkState() == Qt::Checked)
                names << window->clstCategories->item(i)->text();
        return names;
    }
};

TEST_F(MainFormSettings, EveryKeyComesBackAfterARealExit)
{
    writeFile(folder + "Settings.ini", "[LOCALE]\ncode=xx\n");
    TfrmQuillet& first = start();
    useCategories({"Birthdays", "General", "Work"}, {"General", "Work"});
    first.resize(700, 400);
    first.move(40, 30);
    first.cboEventView->setCurrentIndex(5);
    const std::pair<int, int> widths[] = {
        {EventViewModel::ColWhen, 130}, {EventViewModel::ColCountdown, 70}, {EventViewModel::ColCategory, 95}};
    for (const auto& [column, width] : widths)
        first.vstEvents->header()->resizeSection(column, width);
    first.mnuitmOnlyEnabledEvents->setChecked(false);
    first.FNotifyWindowPopupAlpha = 150;
    first.HideMainWindow();
    exitProgram();

    const QByteArray written = readFile(folder + "Settings.ini");
    for (const char* line : {"[LOCALE]\ncode=xx\n", "[START UP]\nMinimized=1\n", "[EVENT VIEW]\nIndex=5\n",
                             "[SELECTED CATEGORIES]\nCategory1=General\nCategory2=Work\n", "MainWindowX=40\n",
                             "MainWindowY=30\n", "MainWindowWidth=700\n", "MainWindowHeight=400\n", "Next Event=130\n",
                             "Countdown=70\n", "Category=95\n", "ShowOnlyEnabled=0\n", "NotifyWindowPopupAlpha=150\n"})
        EXPECT_TRUE(written.contains(line)) << line << " in\n" << written.constData();
    EXPECT_FALSE(written.contains("[LOCALE]\ncode=xx\n[LOCALE]")) << "the language is read, never written";

    TfrmQuillet& second = start();
    useCategories({"Birthdays", "General", "Work"}, {});
    second.LoadSettings(); // the ticks of this test's own categories
    EXPECT_EQ(second.size(), QSize(700, 400));
    EXPECT_EQ(second.pos(), QPoint(40, 30));
    EXPECT_EQ(second.cboEventView->currentIndex(), 5);
    EXPECT_EQ(tickedCategories(), QStringList({"General", "Work"}));
    for (const auto& [column, width] : widths)
        EXPECT_EQ(second.vstEvents->header()->sectionSize(column), width);
    EXPECT_FALSE(second.isVisible()) << "hidden at the exit, so it starts in the tray";
    EXPECT_FALSE(second.mnuitmOnlyEnabledEvents->isChecked());
    EXPECT_EQ(second.FNotifyWindowPopupAlpha, 150);
    EXPECT_EQ(translation::currentLanguage(), "en") << "a language without a catalogue stays English";
}

TEST_F(MainFormSettings, TheTicksAreRewrittenWholeAndMatchOnlyInTheSameLetterCase)
{
    writeFile(folder + "Settings.ini", "[SELECTED CATEGORIES]\nCategory1=A\nCategory2=B\nCategory3=C\n"
                                       "Category4=D\nCategory5=E\n[OPTIONS]\nShowOnlyEnabled=1\n");
    start();
    useCategories({"A", "B", "C", "D", "E"}, {"B", "D", "E"});
    exitProgram();
    EXPECT_TRUE(readFile(folder + "Settings.ini").contains("Category1=B\nCategory2=D\nCategory3=E\n"));
    EXPECT_FALSE(readFile(folder + "Settings.ini").contains("Category4"));

    writeFile(folder + "Settings.ini", "[SELECTED CATEGORIES]\nCategory7=work\nFirst=Home\nCategory1=Gone\n"
                                       "Category2=Caf\xE9\n");
    TfrmQuillet& window = start();
    useCategories({"Work", "Home", "Café"}, {"Work"});
    window.LoadSettings();
    EXPECT_EQ(tickedCategories(), QStringList({"Café", "Home"})) << "a Windows-1252 value reads as such";

    writeFile(folder + "Settings.ini", "[SELECTED CATEGORIES]\n");
    window.LoadSettings();
    EXPECT_EQ(tickedCategories(), QStringList({"Café", "Home"}));
}

TEST_F(MainFormSettings, ManyTickedNamesAreTickedWithoutFillingTheViewForEach)
{
    // An import ticks every name it brings; the next start reads them all back.
    QStringList names;
    QByteArray section = "[SELECTED CATEGORIES]\n";
    for (int i = 0; i < 300; ++i) {
        names << QString("Imported %1").arg(i);
        if (i % 3 != 0)
            section += "Category" + QByteArray::number(i) + "=Imported " + QByteArray::number(i) + "\n";
    }
    TfrmQuillet& window = start();
    useCategories(names, {});
    writeFile(folder + "Settings.ini", section);
    QSignalSpy filled(window.FEventViewModel, &QAbstractItemModel::modelReset);
    window.LoadSettings();
    EXPECT_EQ(tickedCategories().size(), 200);
    EXPECT_LE(filled.count(), 1) << "the start-up fills the view once, after the settings";
}

TEST_F(MainFormSettings, IntegersReadAsTheWindowsProgramWroteThem)
{
    const struct {
        const char* text;
        bool readable;
        int value;
    } cases[] = {{"42", true, 42},          {"-7", true, -7},         {"0x1F", true, 31},
                 {"0XfF", true, 255},       {"0xFFFFFFFF", true, -1}, {"", false, 0},
                 {"0x", false, 0},          {"12px", false, 0},       {" 1", false, 0},
                 {"99999999999", false, 0}, {"\xD9\xA3", false, 0},   {"--1", false, 0}};
    for (const auto& c : cases) {
        int value = 0;
        EXPECT_EQ(parseIniInteger(QString::fromUtf8(c.text), value), c.readable) << c.text;
        EXPECT_TRUE(!c.readable || value == c.value) << c.text;
    }

    // Unreadable values give the defaults.
    writeFile(folder + "Settings.ini", "[OPTIONS]\nShowOnlyEnabled=0x0\n"
                                       "[EVENT VIEW]\nIndex=twelve\n[START UP]\nMinimized=yes\n");
    TfrmQuillet& window = start();
    EXPECT_FALSE(window.mnuitmOnlyEnabledEvents->isChecked());
    EXPECT_EQ(window.cboEventView->currentIndex(), 0);
    EXPECT_TRUE(window.isVisible());
    writeFile(folder + "Settings.ini", "[EVENT VIEW]\nIndex=10\n");
    EXPECT_EQ(start().cboEventView->currentIndex(), -1) << "no such view: none selected";
}

TEST_F(MainFormSettings, APopUpOpacityAboveAByteIsOpaqueAndBelowItTheDefault)
{
    const std::pair<const char*, int> cases[] = {
        {"-1", 220}, {"256", 255}, {"99999", 255}, {"-40", 220},  {"half", 220},       {"0", 0},
        {"1", 1},    {"150", 150}, {"255", 255},   {"0xFF", 255}, {"2147483647", 255}, {"0x100", 255}};
    for (const auto& [text, alpha] : cases) {
        writeFile(folder + "Settings.ini", QByteArray("[OPTIONS]\nNotifyWindowPopupAlpha=") + text + "\n");
        EXPECT_EQ(start().FNotifyWindowPopupAlpha, alpha) << text;
    }
}

TEST_F(MainFormSettings, AWindowLeftOnAScreenThatIsGoneComesBack)
{
    const QList<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    const QSize size(822, 640);
    // Saved place, then where it comes: on either screen or with the title bar's end
    // showing it stays; else onto the nearest screen, as far in as it fits. A place of
    // the program's own comes wholly onto the screen its title bar shows on.
    const struct {
        QPoint place;
        QPoint saved;
        QPoint programs;
    } cases[] = {{{100, 225}, {100, 225}, {100, 225}},     {{2000, 100}, {2000, 100}, {2000, 100}},
                 {{-700, 100}, {-700, 100}, {0, 100}},     {{3300, 100}, {2378, 100}, {2378, 100}},
                 {{5000, 2000}, {2378, 384}, {2378, 384}}, {{-2500, 300}, {0, 300}, {0, 300}},
                 {{500, -300}, {500, 0}, {500, 0}},        {{500, 1075}, {500, 440}, {500, 440}},
                 {{1500, 900}, {1500, 900}, {1098, 440}},  {{1900, 225}, {1900, 225}, {1920, 225}}};
    for (const auto& c : cases) {
        EXPECT_EQ(placeWithTitleBarOnScreen(QRect(c.place, size), screens), c.saved)
            << c.place.x() << "," << c.place.y();
        EXPECT_EQ(placeWhollyOnScreen(QRect(c.place, size), screens), c.programs) << c.place.x() << "," << c.place.y();
    }
    EXPECT_EQ(placeWithTitleBarOnScreen(QRect(QPoint(9000, 9000), size), {}), QPoint(9000, 9000));
    EXPECT_EQ(placeWhollyOnScreen(QRect(QPoint(9000, 9000), size), {}), QPoint(9000, 9000));

    writeFile(folder + "Settings.ini", "[POSITION]\nMainWindowX=5000\nMainWindowY=-900\n");
    TfrmQuillet& window = start();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(window.pos())) << window.pos().x() << "," << window.pos().y();
}

TEST_F(MainFormSettings, ASizeBeyondTheScreenIsCutToIt)
{
    const QList<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    const int huge = std::numeric_limits<int>::max();
    // A side of the frame (the client area and the window manager's margins) longer
    // than the title bar's (else the nearest) screen is cut to it, from its edge.
    const QMargins none;
    const QMargins fluxbox(1, 20, 1, 4);
    const struct {
        QPoint place;
        QSize size;
        QMargins margins;
        QRect frame;
    } cases[] = {{{100, 225}, {822, 640}, none, {100, 225, 822, 640}},
                 {{100, 225}, {huge, huge}, none, {0, 0, 1920, 1080}},
                 {{2000, 100}, {3000, 500}, none, {1920, 100, 1280, 500}},
                 {{2000, 100}, {500, 3000}, none, {2000, 0, 500, 1024}},
                 {{huge, huge}, {huge, huge}, none, {1920, 0, 1280, 1024}},
                 {{-huge - 1, 0}, {2000, 300}, none, {0, 0, 1920, 300}},
                 {{100, 100}, {-5, -huge - 1}, none, {100, 100, 0, 0}},
                 {{100, 225}, {822, 640}, fluxbox, {100, 225, 824, 664}},
                 {{2000, 100}, {1278, 1000}, fluxbox, {2000, 100, 1280, 1024}},
                 {{2000, 100}, {1279, 1001}, fluxbox, {1920, 0, 1280, 1024}},
                 {{100, 225}, {huge, huge}, fluxbox, {0, 0, 1920, 1080}},
                 {{-huge - 1, huge}, {huge, huge}, fluxbox, {0, 0, 1920, 1080}}};
    for (const auto& c : cases)
        EXPECT_EQ(fitFrameToScreen(c.place, c.size, screens, c.margins), c.frame)
            << c.place.x() << "," << c.size.width() << " in " << c.margins.top();

    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // Also what a window manager that made the window 65534 pixels square at scale 2 left behind.
    for (const char* settings : {"[SIZE]\nMainWindowWidth=2147483647\nMainWindowHeight=2147483647\n",
                                 "[POSITION]\nMainWindowX=2147483647\nMainWindowY=-2147483648\n"
                                 "[SIZE]\nMainWindowWidth=0x7FFFFFFF\nMainWindowHeight=99999\n",
                                 "[POSITION]\nMainWindowX=-1\nMainWindowY=-10\n"
                                 "[SIZE]\nMainWindowWidth=32767\nMainWindowHeight=32767\n"
                                 "[COLUMNS]\nNext Event=52428\nCountdown=32767\nEvent=32141\nCategory=2147483647\n"}) {
        writeFile(folder + "Settings.ini", settings);
        TfrmQuillet& window = start();
        // The window's own area fills the screen; the decorations are the window manager's.
        EXPECT_EQ(window.pos(), screen.topLeft()) << settings;
        EXPECT_LE(window.width(), screen.width());
        EXPECT_LE(window.height(), screen.height());
        // So does each column, so that none pushes the others out of reach.
        for (int column = 0; column < EventViewModel::ColumnCount; ++column)
            EXPECT_LE(window.vstEvents->header()->sectionSize(column), screen.width()) << column;
        exitProgram();
        const QByteArray written = readFile(folder + "Settings.ini");
        EXPECT_TRUE(written.contains("MainWindowWidth=" + QByteArray::number(window.width()) + "\n"))
            << written.constData();
    }

    writeFile(folder + "Settings.ini", "[SIZE]\nMainWindowWidth=-2147483648\nMainWindowHeight=-1\n");
    TfrmQuillet& window = start();
    EXPECT_EQ(window.size(), window.minimumSize());
    exitProgram();
    EXPECT_TRUE(readFile(folder + "Settings.ini").contains("MainWindowWidth=480\nMainWindowHeight=200\n"));
}

TEST_F(MainFormSettings, StartAtLoginWritesKeepsAndRemovesTheAutostartEntry)
{
    const QString entry = autostart::entryFileName();
    EXPECT_EQ(entry, programFolder() + "config/autostart/Quillet.desktop") << "the test's own XDG_CONFIG_HOME";
    EXPECT_FALSE(start().mnuitmStartWithWindows->isChecked());
    writeFile(entry, "anything");
    EXPECT_TRUE(start().mnuitmStartWithWindows->isChecked()) << "whatever the entry holds";
    QFile::remove(entry);

    start().mnuitmStartWithWindows->trigger(); // ticks itself
    exitProgram();
    const QByteArray written = readFile(entry);
    EXPECT_TRUE(written.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(written.contains("\nExec=\"" + QCoreApplication::applicationFilePath().toUtf8() + "\"\n"));
    EXPECT_TRUE(written.contains("\nType=Application\n"));

    // Ticked and present: kept as it is.
    writeFile(entry, "[Desktop Entry]\nExec=\"/old/place/quillet\"\n");
    EXPECT_TRUE(start().mnuitmStartWithWindows->isChecked());
    exitProgram();
    EXPECT_EQ(readFile(entry), "[Desktop Entry]\nExec=\"/old/place/quillet\"\n");

    // Unticked: removed; and an absent entry is no error.
    start().mnuitmStartWithWindows->trigger();
    exitProgram();
    EXPECT_FALSE(QFileInfo::exists(entry));
    start();
    exitProgram();
    EXPECT_TRUE(messages.filter("Unable").filter("Quillet.desktop").isEmpty());

    // An entry that can't be written is reported by its name.
    QDir(QFileInfo(entry).absolutePath()).removeRecursively();
    writeFile(QFileInfo(entry).absolutePath(), "a file where the folder should be");
    start().mnuitmStartWithWindows->setChecked(true);
    window->actExit->trigger();
    EXPECT_EQ(messages.filter("Quillet.desktop").size(), 1);
    QFile::remove(QFileInfo(entry).absolutePath());
}

TEST(Autostart, QuotesTheProgramPathForTheExecLine)
{
    EXPECT_EQ(autostart::execLine("/opt/quillet/quillet"), "\"/opt/quillet/quillet\"");
    EXPECT_EQ(autostart::execLine("/home/a b/100%/\"q\"$x`y`\\z"),
              "\"/home/a b/100%%/\\\\\"q\\\\\"\\\\$x\\\\`y\\\\`\\\\\\\\z\"");
}

TEST(Autostart, AnEntryTheDiskCantHoldIsNotLeftCut)
{
    QFile::remove(autostart::entryFileName());
    {
        testing_support::FileSizeLimit limit(50);
        EXPECT_FALSE(autostart::writeEntry("/opt/quillet/quillet"));
    }
    EXPECT_FALSE(QFileInfo::exists(autostart::entryFileName()));
}

} // namespace
