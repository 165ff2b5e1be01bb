// The Language menu from the catalogues beside the program, and live switches.
#include <QActionGroup>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QTabWidget>
#include <QToolButton>

#include "AppTestSupport.h"
#include "controls/DropDownControl.h"
#include "dialogs/EventNotify.h"
#include "platform/GetText.h"
#include "platform/gui/WindowTranslation.h"

using testing_support::writeFile;

namespace {

const std::vector<std::pair<const char*, const char*>> German = {
    {"Options", "Optionen"},  {"New Event", "Neues Ereignis"}, {"Edit Event", "Ereignis bearbeiten"},
    {"View:", "Ansicht:"},    {"Categories", "Kategorien"},    {"Click to hide filters", "Filter ausblenden"},
    {"Snooze", "Schlummern"}, {"When", "Wann"},                {"[All Events]", "[Alle Ereignisse]"},
    {"For The Next 7 Days", "Für die nächsten 7 Tage"}};

class MainFormLanguage : public app_testing::MainWindowTest {
protected:
    MainFormLanguage()
    {
        writeCatalogue("de", German);
        for (const char* sub : {"IT/LC_MESSAGES", ".hidden", "xx", "pt_BR"})
            QDir(folder).mkpath(QString("LOCALE/") + sub);
        writeFile(folder + "LOCALE/fr", "a plain file");
    }
    ~MainFormLanguage() override
    {
        window.reset();
        QDir(folder + "LOCALE").removeRecursively();
        translation::setLanguage(QString());
    }
    void writeCatalogue(const QString& code, const std::vector<std::pair<const char*, const char*>>& entries)
    {
        const QString po = folder + "LOCALE/" + code + "/LC_MESSAGES/default.po";
        QByteArray text = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n";
        for (const auto& [english, translated] : entries)
            text += QByteArray("\nmsgid \"") + english + "\"\nmsgstr \"" + translated + "\"\n";
        writeFile(po, text);
        ASSERT_EQ(QProcess::execute("msgfmt", {"-o", QString(po).replace(".po", ".mo"), po}), 0);
    }
    QAction* languageItem(const QString& caption) const
    {
        for (QAction* item : window->mnuitmLanguage->actions())
            if (item->text() == caption)
                return item;
        return nullptr;
    }
    QStringList shownTexts() const
    {
        return {window->mnuOptions->title(), window->actNewEvent->text(), window->tbtnNewEvent->text(),
                window->lblView->text(), window->pcFilters->tabText(0), window->DropDownX1->GetCaption(),
                window->FNotifyForm->btnSnooze->text(),
                model->headerData(EventViewModel::ColWhen, Qt::Horizontal).toString(),
                window->cboEventView->itemText(0), window->cboEventView->currentText()};
    }
};

TEST_F(MainFormLanguage, TheMenuOffersTheKnownLanguagesOfTheLocaleFolder)
{
    start();
    QStringList captions;
    for (QAction* item : window->mnuitmLanguage->actions())
        captions << item->text();
    ASSERT_EQ(captions.size(), 4) << captions.join(", ").toStdString();
    EXPECT_EQ(captions.first(), "Default");
    EXPECT_TRUE(window->mnuitmLanguage->actions().first()->isChecked());
    EXPECT_EQ(window->FLanguageCodes.first(), translation::systemLanguageCode());
    // The file system's order; a plain file counts too; unknown names ("xx", "pt_br") and hidden ones don't.
    const QMap<QString, QString> names{{"de", "German"}, {"it", "Italian"}, {"fr", "French"}};
    for (int i = 1; i < captions.size(); ++i)
        EXPECT_EQ(captions[i], names.value(window->FLanguageCodes[i])) << window->FLanguageCodes[i];
    QStringList codes = window->FLanguageCodes.mid(1);
    codes.sort();
    EXPECT_EQ(codes, QStringList({"de", "fr", "it"}));

    // A start in the settings' language still ticks Default; an unknown code stays English.
    writeFile(folder + "Settings.ini", "[LOCALE]\ncode=de\n");
    start();
    EXPECT_EQ(window->actNewEvent->text(), "Neues Ereignis");
    EXPECT_TRUE(languageItem("Default")->isChecked());
    EXPECT_EQ(window->cboEventView->currentText(), "[Alle Ereignisse]");
    writeFile(folder + "Settings.ini", "[LOCALE]\ncode=qq\n");
    start();
    EXPECT_EQ(window->actNewEvent->text(), "New Event");
}

TEST_F(MainFormLanguage, ASwitchTranslatesBothWindowsLiveAndKeepsTheView)
{
    start();
    chooseView(3);
    const QStringList english = shownTexts();
    languageItem("German")->trigger();
    EXPECT_EQ(translation::currentLanguage(), "de");
    EXPECT_EQ(shownTexts(),
              QStringList({"Optionen", "Neues Ereignis", "Neues Ereignis", "Ansicht:", "Kategorien",
                           "Filter ausblenden", "Schlummern", "Wann", "[Alle Ereignisse]", "Für die nächsten 7 Tage"}));
    EXPECT_EQ(window->cboEventView->currentIndex(), 3);
    EXPECT_EQ(window->cboEventView->count(), 10);
    EXPECT_TRUE(languageItem("German")->isChecked() && !languageItem("Default")->isChecked());

    // A text the program set in German meanwhile goes back to English too.
    window->actEditEvent->setText(_("Edit Event"));
    EXPECT_EQ(window->actEditEvent->text(), "Ereignis bearbeiten");

    languageItem("Default")->trigger();
    EXPECT_EQ(shownTexts(), english);
    EXPECT_EQ(window->actEditEvent->text(), "Edit Event");
    EXPECT_EQ(window->cboEventView->currentIndex(), 3);

    // Without a selection the first view is chosen; a language without catalogue stays English.
    window->cboEventView->setCurrentIndex(-1);
    languageItem("Italian")->trigger();
    EXPECT_EQ(window->cboEventView->currentIndex(), 0);
    EXPECT_EQ(shownTexts().mid(0, 8), english.mid(0, 8));
}

TEST_F(MainFormLanguage, TranslateComponentLeavesTheUsersTextsAndTheCodesListsAlone)
{
    QWidget form;
    form.setWindowTitle("Options");
    auto* box = new QComboBox(&form);
    box->addItem("Options");
    auto* edit = new QLineEdit("Options", &form);
    edit->setPlaceholderText("When");
    auto* drop = new TDropDownX(&form);
    drop->SetCollapsedCaption("Click to hide filters");
    ASSERT_TRUE(translation::setLanguage("de"));
    TranslateComponent(&form);
    EXPECT_EQ(form.windowTitle(), "Optionen");
    EXPECT_EQ(box->itemText(0), "Options");
    EXPECT_EQ(edit->text(), "Options");
    EXPECT_EQ(edit->placeholderText(), "Wann");
    EXPECT_EQ(drop->CollapsedCaption(), "Filter ausblenden");

    // Back to English from the kept sources; a text the code changed becomes the new source.
    edit->setPlaceholderText("Mine");
    translation::setLanguage(QString());
    RetranslateComponent(&form);
    EXPECT_EQ(form.windowTitle(), "Options");
    EXPECT_EQ(edit->placeholderText(), "Mine");
    EXPECT_EQ(drop->CollapsedCaption(), "Click to hide filters");
}

} // namespace
