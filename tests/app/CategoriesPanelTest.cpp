// The categories panel in the real window: add, delete, rename, and ticks as filters.
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>

#include <optional>

#include "AppTestSupport.h"
#include "app/CategoryItems.h"
#include "app/GetTextDialog.h"

using testing_support::at;
using testing_support::readFile;

namespace {

class CategoriesPanel : public app_testing::MainWindowTest {
protected:
    void SetUp() override
    {
        start();
        useEvents({{.when = at(2024, 6, 12, 9), .description = "Standup", .category = "Work"},
                   {.when = at(2024, 6, 13, 9), .description = "Dentist", .category = "Personal"},
                   {.when = at(2024, 6, 14, 9), .description = "Lunch", .category = "General"}});
        window->FEventList->Categories = QStringList{"Work", "Personal", "General"};
        window->fillCategories();
        window->SaveEvents();
        list = window->clstCategories;
    }

    // Answers the text dialog the action opens (Cancel if no answer); returns its caption and text.
    std::pair<QString, QString> answering(std::optional<QString> answer, const std::function<void()>& action)
    {
        std::pair<QString, QString> asked;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<TfrmGetText*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            asked = {dialog->windowTitle(), dialog->edtAnswer->text()};
            if (!answer)
                return dialog->btnCancel->click();
            dialog->edtAnswer->setText(*answer);
            dialog->btnDone->click();
        });
        action();
        return asked;
    }
    void add(std::optional<QString> answer)
    {
        answering(answer, [this] { window->sbtnCatAdd->click(); });
    }
    QRect place(const QString& name, bool select = true) const
    {
        const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
        EXPECT_EQ(found.size(), 1) << name;
        if (select)
            list->setCurrentItem(found.value(0));
        return list->visualItemRect(found.value(0));
    }
    std::pair<QString, QString> rename(const QString& name, std::optional<QString> answer)
    {
        const QPoint point = place(name).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, point); // the first click of the two
        return answering(answer, [&] { QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, point); });
    }
    void tick(const QString& name)
    {
        const QRect rect = place(name, false);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(rect.left() + 10, rect.center().y()));
    }
    QStringList items(bool checkedOnly = false) const
    {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            if (!checkedOnly || list->item(i)->checkState() == Qt::Checked)
                texts << list->item(i)->text();
        return texts;
    }
    QStringList checkedItems() const { return items(true); }
    QStringList stored() const { return window->FEventList->Categories; }
    QByteArray savedFile() const { return readFile(window->FFileName); }
    QStringList savedNames() const
    {
        const QString text = QString::fromUtf8(savedFile());
        const qsizetype from = text.indexOf("<Categories>") + 12;
        return text.mid(from, text.indexOf("</Categories>") - from).split("\r\n", Qt::SkipEmptyParts);
    }
    int backups() const { return QDir(folder + "Backup").entryList(QDir::Files).size(); }

    QListWidget* list = nullptr;
};

TEST_F(CategoriesPanel, TheListIsSortedWhateverTheLetterCaseAndTicksFilterTheView)
{
    window->FEventList->Categories << "birthdays";
    window->fillCategories();
    EXPECT_EQ(items(), (QStringList{"birthdays", "General", "Personal", "Work"}));
    EXPECT_EQ(checkedItems(), QStringList());
    EXPECT_EQ(shownDescriptions(), (QStringList{"Standup", "Dentist", "Lunch"}));

    tick("Work");
    EXPECT_EQ(checkedItems(), QStringList{"Work"});
    EXPECT_EQ(shownDescriptions(), QStringList{"Standup"});
    tick("General");
    EXPECT_EQ(shownDescriptions(), (QStringList{"Standup", "Lunch"}));
    tick("Work");
    tick("General");
    EXPECT_EQ(shownDescriptions(), (QStringList{"Standup", "Dentist", "Lunch"})) << "no tick: every category";
}

TEST_F(CategoriesPanel, AddingTrimsTheNameAndRefusesBlanksAndNamesThatExist)
{
    const auto asked = answering(std::nullopt, [this] { window->sbtnCatAdd->click(); });
    EXPECT_EQ(asked, std::make_pair(QString("Add Category"), QString()));
    const QByteArray saved = savedFile();

    add(QString(" \t "));
    EXPECT_EQ(items(), (QStringList{"General", "Personal", "Work"}));
    EXPECT_EQ(savedFile(), saved) << "a blank name is refused without a save";

    clock.set(at(2024, 6, 12, 8, 1));
    add(QString("  Travel\t"));
    EXPECT_EQ(items(), (QStringList{"General", "Personal", "Travel", "Work"}));
    EXPECT_EQ(checkedItems(), QStringList{"Travel"});
    EXPECT_EQ(stored(), (QStringList{"Work", "Personal", "General", "Travel"}));
    EXPECT_EQ(shownDescriptions(), QStringList());
    EXPECT_EQ(savedNames(), stored());
    EXPECT_FALSE(window->FEventList->Modified);
    EXPECT_EQ(backups(), 1);

    clock.set(at(2024, 6, 12, 8, 2)); // the same name in other letters adds nothing but saves
    add(QString("work"));
    EXPECT_EQ(items(), (QStringList{"General", "Personal", "Travel", "Work"}));
    EXPECT_EQ(stored(), (QStringList{"Work", "Personal", "General", "Travel"}));
    EXPECT_EQ(backups(), 2);
}

TEST_F(CategoriesPanel, DeletingRemovesTheSelectedNameAndSavesEvenWithoutASelection)
{
    tick("Work");
    clock.set(at(2024, 6, 12, 8, 1));
    list->clearSelection();
    window->sbtnCatDel->click();
    EXPECT_EQ(items(), (QStringList{"General", "Personal", "Work"}));
    EXPECT_EQ(backups(), 1) << "saved with its backup all the same";

    clock.set(at(2024, 6, 12, 8, 2));
    place("Work");
    window->sbtnCatDel->click();
    EXPECT_EQ(items(), (QStringList{"General", "Personal"}));
    EXPECT_EQ(stored(), (QStringList{"Personal", "General"}));
    EXPECT_EQ(savedNames(), stored());
    EXPECT_EQ(backups(), 2);
    EXPECT_EQ(shownDescriptions(), QStringList{"Standup"}) << "the view keeps its rows until its next refresh";
    window->RefreshEventView();
    EXPECT_EQ(shownDescriptions(), (QStringList{"Standup", "Dentist", "Lunch"}));
    EXPECT_EQ(window->FEventList->GetEvent(0)->Category, "Work") << "events keep their category";
}

TEST_F(CategoriesPanel, RenamingKeepsThePlaceAndTheTickAndTheNewNameSurvivesARestart)
{
    tick("Personal");
    const auto asked = rename("Work", QString("work")); // letter case only: the stored name stays
    EXPECT_EQ(asked, std::make_pair(QString("Edit Category"), QString("Work")));
    EXPECT_EQ(items(), (QStringList{"General", "Personal", "work"}));
    EXPECT_EQ(stored(), (QStringList{"Work", "Personal", "General"}));

    rename("Personal", QString("  "));
    rename("Personal", std::nullopt);
    EXPECT_EQ(items(), (QStringList{"General", "Personal", "work"}));
    EXPECT_FALSE(window->FEventList->Modified);

    rename("Personal", QString("Appointments"));
    EXPECT_EQ(items(), (QStringList{"General", "Appointments", "work"}));
    EXPECT_EQ(checkedItems(), QStringList{"Appointments"});
    EXPECT_EQ(stored(), (QStringList{"Work", "General", "Appointments"}));
    EXPECT_TRUE(window->FEventList->Modified) << "or the new name would be lost at exit";
    EXPECT_EQ(shownDescriptions(), QStringList()) << "no event is of the new name yet";
    window->FEventList->AddCategory("Hobbies");
    window->RefreshCategories(true);
    EXPECT_EQ(items(), (QStringList{"General", "Appointments", "Hobbies", "work"}));

    window->FCanClose = true;
    window->close(); // a real exit saves what is marked modified
    start();
    EXPECT_EQ(window->FEventList->Categories, (QStringList{"Work", "General", "Appointments", "Hobbies"}));
    EXPECT_EQ(window->clstCategories->count(), 4);
}

TEST_F(CategoriesPanel, RefreshingCopiesTheDifferencesEitherWayIgnoringCase)
{
    tick("General");
    window->FEventList->Categories = QStringList{"general", "Work", "Family"};
    window->RefreshCategories(true);
    EXPECT_EQ(items(), (QStringList{"Family", "General", "Work"})) << "existing items keep their text";
    EXPECT_EQ(checkedItems(), (QStringList{"Family", "General"})) << "new names come ticked";

    delete list->takeItem(0);
    addCategoryItem(list, "WORK", false); // a duplicate ignoring case adds nothing
    addCategoryItem(list, "Sport", false);
    window->RefreshCategories(false);
    EXPECT_EQ(stored(), (QStringList{"general", "Work", "Sport"}));
    EXPECT_FALSE(window->FEventList->Modified);
}

} // namespace
