// The categories panel: the check list of category names, kept in step with the
// event list's names, whose check marks filter the view.
#include "MainForm.h"

#include <QListWidget>
#include <QSet>
#include <QSignalBlocker>
#include <QToolButton>

#include "CategoryItems.h"
#include "GetTextDialog.h"
#include "events/CaseFolding.h"
#include "events/Exceptions.h"
#include "platform/GetText.h"
#include "platform/gui/ErrorReport.h"

namespace {

bool isBlankOrControl(QChar Char)
{
    return Char.isSpace() || Char.category() == QChar::Other_Control;
}

// The name without leading and trailing blanks and control characters.
QString trimmedName(const QString& Name)
{
    qsizetype first = 0, last = Name.size();
    while (first < last && isBlankOrControl(Name[first]))
        ++first;
    while (last > first && isBlankOrControl(Name[last - 1]))
        --last;
    return Name.mid(first, last - first);
}

QListWidgetItem* selectedItem(const QListWidget* List)
{
    const QList<QListWidgetItem*> selected = List->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

} // namespace

void TfrmQuillet::setupCategories()
{
    connect(sbtnCatAdd, &QToolButton::clicked, this, [this] { reportingErrors([this] { sbtnCatAddClick(); }); });
    connect(sbtnCatDel, &QToolButton::clicked, this, [this] { reportingErrors([this] { sbtnCatDelClick(); }); });
    connect(clstCategories, &QListWidget::itemDoubleClicked, this,
            [this] { reportingErrors([this] { clstCategoriesDblClick(); }); });
    // The list's own changes block its signals, so only the user's ticks get here.
    connect(clstCategories, &QListWidget::itemChanged, this,
            [this] { reportingErrors([this] { clstCategoriesClickCheck(); }); });
}

void TfrmQuillet::fillCategories()
{
    const QSignalBlocker blocker(clstCategories);
    clstCategories->clear();
    for (const QString& name : FEventList->Categories)
        addCategoryItem(clstCategories, name, false);
}

void TfrmQuillet::RefreshCategories(bool FromEventList)
{
    wrapExceptions("TfrmQuillet.RefreshCategories", [&] {
        const QSignalBlocker blocker(clstCategories);
        QStringList& names = FEventList->Categories;
        // The names on each side folded, so that an import of many names is
        // matched in one pass rather than each name against every item.
        QSet<QString> shown, listed;
        for (int i = 0; i < clstCategories->count(); ++i)
            shown.insert(caseFolded(clstCategories->item(i)->text()));
        for (const QString& name : std::as_const(names))
            listed.insert(caseFolded(name));
        if (FromEventList) {
            for (const QString& name : QStringList(names))
                if (!shown.contains(caseFolded(name))) {
                    addCategoryItem(clstCategories, name, true);
                    shown.insert(caseFolded(name));
                }
            for (int i = clstCategories->count() - 1; i >= 0; --i)
                if (!listed.contains(caseFolded(clstCategories->item(i)->text())))
                    delete clstCategories->takeItem(i);
        } else {
            // Plain changes of the names: marking the list modified is the callers' choice.
            for (int i = 0; i < clstCategories->count(); ++i) {
                const QString name = clstCategories->item(i)->text();
                if (!listed.contains(caseFolded(name))) {
                    names.append(name);
                    listed.insert(caseFolded(name));
                }
            }
            names.removeIf([&](const QString& name) { return !shown.contains(caseFolded(name)); });
        }
    });
}

void TfrmQuillet::clstCategoriesClickCheck()
{
    RefreshEventView();
}

void TfrmQuillet::sbtnCatAddClick()
{
    TfrmGetText dialog(this);
    if (!dialog.Execute(_("Add Category"), _("Enter new category:"), QString()))
        return;
    const QString name = trimmedName(dialog.GetAnswer());
    if (name.isEmpty())
        return;
    FEventList->AddCategory(name);
    RefreshCategories(true); // a new name shows up checked
    RefreshEventView();
    SaveEvents();
}

// No question asked. The view keeps its rows until its next refresh.
void TfrmQuillet::sbtnCatDelClick()
{
    if (QListWidgetItem* item = selectedItem(clstCategories)) {
        const QSignalBlocker blocker(clstCategories);
        delete clstCategories->takeItem(clstCategories->row(item));
    }
    RefreshCategories(false);
    SaveEvents();
}

// Rename. Events keep their category text; the name comes back to the list when
// such an event is next confirmed in the edit dialog.
void TfrmQuillet::clstCategoriesDblClick()
{
    QListWidgetItem* item = selectedItem(clstCategories);
    if (!item)
        return;
    TfrmGetText dialog(this);
    if (!dialog.Execute(_("Edit Category"), _("Modify category:"), item->text()))
        return;
    const QString name = dialog.GetAnswer();
    // A blank name is refused as the add button refuses it.
    if (trimmedName(name).isEmpty())
        return;
    const QStringList before = FEventList->Categories;
    {
        const QSignalBlocker blocker(clstCategories);
        renameCategoryItem(item, name);
    }
    RefreshCategories(false);
    // Marked, so that the save timer writes the new name before the program ends.
    if (FEventList->Categories != before)
        markChangedForSave();
    RefreshEventView();
}
