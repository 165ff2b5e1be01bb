// Import and export through the main window's menu and its real file dialogs.
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QScopeGuard>
#include <QUrl>

#include <sys/stat.h>

#include "AppTestSupport.h"
#include "OpenedPages.h"
#include "app/FileVersion.h"
#include "app/InfoDialog.h"

using testing_support::at;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

class MainFormImportExport : public app_testing::MainWindowTest {
protected:
    void SetUp() override
    {
        start();
        useEvents({{.when = at(2024, 6, 12, 9), .description = "Dentist"},
                   {.when = at(2024, 6, 20, 18), .description = "Concert", .category = "Personal"}});
        window->FEventList->Modified = false;
        messages.clear();
    }
    // Chooses FileName (or cancels if empty) in the file dialog named DialogName that
    // Command opens; notes the info dialog.
    void runWithDialog(const QString& dialogName, const QString& fileName, const std::function<void()>& command)
    {
        QTimer answer;
        bool chosen = false;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (dialog && dialog->objectName() == dialogName && !chosen) {
                chosen = true;
                presetName = dialog->selectedFiles().value(0);
                startFolder = dialog->directory().absolutePath();
                if (fileName.isEmpty()) {
                    dialog->reject();
                    return;
                }
                // Typed in; a file still selected from the last time would win over it.
                dialog->setDirectory(QFileInfo(fileName).absolutePath());
                for (auto* view : dialog->findChildren<QAbstractItemView*>())
                    view->clearSelection();
                dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QFileInfo(fileName).fileName());
                static_cast<QDialog*>(dialog)->accept(); // as the dialog's own button does
                if (afterChoosing)
                    afterChoosing();
            } else if (auto* info = qobject_cast<TfrmInfoDialog*>(modal)) {
                infoCaption = info->windowTitle();
                checkedUnderInfo = window->tmrCheckEvents->isActive();
                messages << info->stxtMessage->text();
                info->accept();
            }
        });
        answer.start(10);
        command();
    }
    void importFile(const QString& fileName)
    {
        runWithDialog("OpenDialog1", fileName, [this] { window->mnuitmImport->trigger(); });
    }
    void exportTo(const QString& fileName)
    {
        runWithDialog("SaveDialog1", fileName, [this] { window->mnuitmExportToHTML->trigger(); });
    }

    std::function<void()> afterChoosing; // between the dialog and the command's work
    QString presetName;
    QString startFolder;
    QString infoCaption;
    bool checkedUnderInfo = false; // the reminder check ran on under the import's results
    OpenedPages opened;
};

TEST_F(MainFormImportExport, AnImportCountsOnlyTheNewEventsAndMarksTheListModified)
{
    EXPECT_EQ(window->findChild<QFileDialog*>(), nullptr) << "built on first use, not at start-up";
    importFile(writeFile(folder + "notes.events", "<html><body>not events</body></html>"));
    EXPECT_EQ(messages, QStringList{"Wrong file format"});
    EXPECT_EQ(window->FEventList->Count(), 2);
    EXPECT_FALSE(window->FEventList->Modified);

    messages.clear();
    window->FEventList->SaveToFile(window->FFileName);
    importFile(window->FFileName);
    EXPECT_EQ(messages, QStringList{"0 new events imported"}) << "its own file adds nothing";
    EXPECT_EQ(infoCaption, "Import Results");
    EXPECT_FALSE(window->FEventList->Modified);

    TEventList other;
    other.AddCategory("General");
    other.AddCategory("Travel");
    for (const TestEvent& event : {TestEvent{.when = at(2024, 6, 13, 10), .description = "Dentist"},
                                   TestEvent{.when = at(2024, 6, 14, 10), .description = "Flight", .category = "Travel"},
                                   TestEvent{.when = at(2024, 6, 15, 10), .description = "dentist"}})
        event.addTo(other);
    other.SaveToFile(folder + "other.events");
    messages.clear();
    importFile(folder + "other.events");
    EXPECT_EQ(messages, QStringList{"2 new events imported"}) << "descriptions compare in their letter case";
    EXPECT_EQ(window->FEventList->Count(), 4);
    EXPECT_TRUE(window->FEventList->Categories.contains("Travel"));
    EXPECT_EQ(shownDescriptions(), QStringList{"Flight"}) << "the new category comes ticked";
    EXPECT_TRUE(window->FEventList->Modified) << "the merged events must reach the event file";
    EXPECT_TRUE(QTest::qWaitFor([this] { return readFile(window->FFileName).contains("Flight"); }, 20000))
        << "the timed save writes them";

    // Cancelled: nothing happens.
    messages.clear();
    importFile(QString());
    EXPECT_EQ(messages, QStringList());
}

TEST_F(MainFormImportExport, AnImportOfWhatIsNoLongerAFileNamesTheReason)
{
    const QString fileName = folder + "gone.events";
    const QByteArray name = QFile::encodeName(fileName);
    const std::pair<std::function<bool()>, QString> cases[] = {
        {[] { return true; }, "No such file or directory"},
        {[&] { return QDir().mkdir(fileName); }, "It is not a regular file."},
        {[&] { return ::mkfifo(name.constData(), 0600) == 0; }, "It is not a regular file."}};
    for (const auto& [replace, reason] : cases) {
        writeFile(fileName, "<QuilletEventFile>");
        afterChoosing = [&] { ASSERT_TRUE(QFile::remove(fileName) && replace()); };
        messages.clear();
        importFile(fileName);
        EXPECT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages.value(0).endsWith("\"" + fileName + "\". " + reason)) << messages.value(0);
        EXPECT_EQ(window->FEventList->Count(), 2);
        QDir().rmdir(fileName);
        QFile::remove(fileName);
    }
}

TEST_F(MainFormImportExport, AnImportOfADamagedFileTellsWhatWasLostWithTheCount)
{
    const QByteArray start = "<QuilletEventFile>\r\n<Version>QV3.0</Version>\r\n<Categories>General\r\n</Categories>"
                             "\r\n<Events>\r\n";
    const QByteArray end = "</Events>\r\n</QuilletEventFile>\r\n";
    const QByteArray bytes = start + "<Event>\r\n\t<Description>Flight</Description>\r\n" + // no end tag
                             "<Event>\r\n\t<Description>Hotel</Description>\r\n</Event>\r\n" +
                             QByteArray(300, '\0') + "\r\n" + end;
    const QString damaged = writeFile(folder + "damaged.events", bytes);
    importFile(damaged);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].split("\r\n"),
              (QStringList{"2 new events imported", "",
                           "Not all of the event file \"" + damaged + "\" could be read as it was written:",
                           "An event had no end tag: it was taken to end where the next event begins.",
                           "It holds zero bytes where part of the file was lost: events there may be incomplete."}));
    EXPECT_EQ(window->FEventList->Count(), 4) << "Flight and Hotel stay two events";
    EXPECT_EQ(readFile(damaged), bytes) << "the imported file is not touched";

    // A UTF-8 file with one title in Windows-1252.
    messages.clear();
    importFile(writeFile(folder + "mixed.events", start + "<Event>\r\n\t<Description>Caf\xE9</Description>\r\n"
                                                          "\t<Notes>Gr\xC3\xBC\xC3\x9F\x65</Notes>\r\n</Event>\r\n" +
                                                          end));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("1 new events imported\r\n\r\n"));
    EXPECT_TRUE(messages[0].endsWith(
        "\r\nSome texts were not valid UTF-8 and were read as Windows-1252, the others as UTF-8."));
    EXPECT_EQ(window->FEventList->GetEvent(4)->Description, "Café");
    EXPECT_EQ(window->FEventList->GetEvent(4)->Notes, "Grüße");

    messages.clear();
    window->FEventList->SaveToFile(window->FFileName);
    importFile(window->FFileName);
    EXPECT_EQ(messages, QStringList{"0 new events imported"}) << "a whole file adds no report";
}

TEST_F(MainFormImportExport, ImportedCommandsStayOffUnlessTheUserKeepsThem)
{
    TestEvent{.when = at(2024, 6, 21, 8), .description = "Own", .commands = "cp -a ~ /mnt"}.addTo(*window->FEventList);
    const auto commandsOn = [this] { // one digit per event of the list
        QString on;
        for (int i = 0; i < window->FEventList->Count(); ++i)
            on += window->FEventList->GetEvent(i)->ExecuteFile ? '1' : '0';
        return on;
    };
    // The question's text and default button, and the commands and the reminder check
    // while it is open; it is answered with `answer`.
    QString question, whileAsked;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton, answer = QMessageBox::No;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box && box->objectName() == "dlgConfirm") {
            question = box->text();
            whileAsked = commandsOn() + (window->tmrCheckEvents->isActive() ? " checking" : "");
            defaultButton = box->standardButton(box->defaultButton());
            box->button(answer)->click();
        }
    });
    answerer.start(10);
    const auto importEvents = [&](const std::vector<TestEvent>& events) {
        TEventList other;
        for (const TestEvent& event : events)
            event.addTo(other);
        other.SaveToFile(folder + "other.events");
        question.clear();
        checkedUnderInfo = true;
        importFile(folder + "other.events");
        EXPECT_FALSE(checkedUnderInfo) << "held under the results too";
        EXPECT_TRUE(window->tmrCheckEvents->isActive()) << "and on again after the answer";
    };

    importEvents({{.when = at(2024, 7, 1, 9), .description = "Wipe", .commands = "rm -rf ~"},
                  {.when = at(2024, 7, 2, 9), .description = "Mail", .commands = "mail x"},
                  {.when = at(2024, 7, 3, 9), .description = "Talk"}});
    EXPECT_EQ(question, "2 of the imported events run commands at their reminder. Keep their commands switched on?");
    EXPECT_EQ(defaultButton, QMessageBox::No);
    EXPECT_EQ(whileAsked, "001000") << "no check may dismiss what the user is asked to keep";
    EXPECT_EQ(messages.last(), "3 new events imported") << "the results come first";
    EXPECT_EQ(commandsOn(), "001000") << "the list's own events are not touched";
    EXPECT_EQ(window->FEventList->GetEvent(3)->CmdsToExecute, "rm -rf ~") << "the text stays, to be switched on";

    answer = QMessageBox::Yes;
    importEvents({{.when = at(2024, 7, 4, 9), .description = "Sync", .commands = "rsync a b"},
                  {.when = at(2024, 7, 5, 9), .description = "Wipe", .commands = "rm -rf ~"}});
    EXPECT_EQ(question, "1 of the imported events run commands at their reminder. Keep their commands switched on?");
    EXPECT_EQ(whileAsked, "0010000");
    EXPECT_EQ(commandsOn(), "0010001") << "Wipe is not imported again";

    importEvents({{.when = at(2024, 7, 6, 9), .description = "Lunch"},
                  {.when = at(2024, 7, 7, 9), .description = "Mail", .commands = "mail x"}});
    EXPECT_EQ(question, QString()) << "no event with a command was added";
    EXPECT_EQ(commandsOn(), "00100010");
}

TEST(exportFileName, ReplacesTheExtensionAndNeverGivesTheEventFile)
{
    const std::pair<const char*, const char*> names[] = {
        {"/home/ann/Plans/Week.EVENTS", "/home/ann/Plans/Week.html"},
        {"/home/ann/x.events/Week.events", "/home/ann/x.html/Week.html"},
        {"/home/ann/Week.Events.bak", "/home/ann/Week.html.bak"}, {"/home/ann/Week", "/home/ann/Week.html"},
        {"/home/ann/Week.txt", "/home/ann/Week.txt.html"}};
    for (const auto& [events, page] : names)
        EXPECT_EQ(exportFileName(events), page) << events;
}

TEST_F(MainFormImportExport, AnExportWritesTheViewAndOpensThePage)
{
    chooseView(6);
    exportTo(folder + "week.html");
    EXPECT_EQ(presetName, folder + "Events.html");
    const QString page = QString::fromUtf8(readFile(folder + "week.html"));
    EXPECT_TRUE(page.contains("<td colspan=4>\r\nQuillet\r\n</td>"));
    EXPECT_TRUE(page.contains("View: For This Month &amp; Next"));
    EXPECT_LT(page.indexOf("Dentist"), page.indexOf("Concert"));
    EXPECT_TRUE(page.contains("<a href=\"https://quillet.example.org/\">https://quillet.example.org/</a>"));
    EXPECT_TRUE(page.contains(formatDateTime("dddddd tt", Now()) + "<br>"));
    EXPECT_EQ(opened.Pages, QList<QUrl>{QUrl::fromLocalFile(folder + "week.html")});

    // An empty view, over the same file without a question.
    chooseView(9);
    window->FEventList->GetEvent(0)->Enabled = true;
    useEvents({});
    exportTo(folder + "week.html");
    const QString empty = QString::fromUtf8(readFile(folder + "week.html"));
    EXPECT_TRUE(empty.contains("View: Expired Events"));
    EXPECT_TRUE(empty.contains("ColHeader"));
    EXPECT_FALSE(empty.contains("EnabledRow"));
    EXPECT_EQ(opened.Pages.size(), 2);

    // Cancelled: nothing written, nothing opened.
    exportTo(QString());
    EXPECT_EQ(opened.Pages.size(), 2);
    EXPECT_EQ(messages.filter("Wrong").size(), 0);
}

TEST_F(MainFormImportExport, AnInstalledProgramsOwnEventFileLeavesTheDialogsInTheDocumentsFolder)
{
    // Installed: the catalogues under the prefix's share, none beside the program.
    QDir().mkpath(folder + "prefix/" QUILLET_INSTALL_DATADIR "/quillet");
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    const QString userDirs = configHome + "/user-dirs.dirs", papers = folder + "Papers/", home = QDir::homePath() + "/";
    QDir().mkpath(papers);
    const QString workingFolder = QDir::currentPath();
    const auto restore = qScopeGuard([&] {
        setProgramFolderForTests(folder);
        qputenv("XDG_CONFIG_HOME", configHome);
        QFile::remove(userDirs);
        QDir::setCurrent(workingFolder);
    });
    setProgramFolderForTests(folder + "prefix/" QUILLET_INSTALL_BINDIR);
    writeFile(userDirs, "XDG_DOCUMENTS_DIR=\"" + QFile::encodeName(folder) + "Papers\"\n");
    start();
    ASSERT_EQ(window->FFileName, eventFileFolder() + "Events.events");
    importFile(QString());
    EXPECT_EQ(startFolder + "/", papers);

    // The documents folder named, the XDG_CONFIG_HOME it is read from, and the folder of the preset.
    QDir::setCurrent(folder); // where Qt would read a relative XDG_CONFIG_HOME
    const struct {
        QByteArray Documents, ConfigHome;
        QString Preset;
    } rows[] = {{QFile::encodeName(folder) + "Papers", configHome, papers},
                {"$HOME/No Such Folder", configHome, home},
                {"Papers", configHome, home},
                {QFile::encodeName(folder) + "Papers", "config", home}};
    for (const auto& row : rows) {
        writeFile(userDirs, "XDG_DOCUMENTS_DIR=\"" + row.Documents + "\"\n");
        qputenv("XDG_CONFIG_HOME", row.ConfigHome);
        exportTo(QString());
        EXPECT_EQ(presetName, row.Preset + "Events.html") << row.Documents.data() << " from " << row.ConfigHome.data();
    }

    qputenv("XDG_CONFIG_HOME", configHome);
    start({folder + "Mine.events"});
    exportTo(QString());
    EXPECT_EQ(presetName, folder + "Mine.html") << "a file of the user's own choice keeps its folder";
}

} // namespace
