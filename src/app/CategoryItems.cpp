#include "CategoryItems.h"

#include <QListWidget>

namespace {

// Alphabetical as the user reads it: "birthdays" comes before "Work".
class CategoryItem : public QListWidgetItem {
public:
    using QListWidgetItem::QListWidgetItem;
    bool operator<(const QListWidgetItem& Other) const override
    {
        const int order = QString::compare(text(), Other.text(), Qt::CaseInsensitive);
        return order != 0 ? order < 0 : text() < Other.text();
    }
};

} // namespace

QListWidgetItem* addCategoryItem(QListWidget* List, const QString& Name, bool Checked)
{
    auto* item = new CategoryItem(Name); // added below, so the list sorts it in
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Checked ? Qt::Checked : Qt::Unchecked);
    List->addItem(item);
    return item;
}

QListWidgetItem* findCategoryItem(const QListWidget* List, const QString& Name)
{
    for (int i = 0; i < List->count(); ++i)
        if (List->item(i)->text().compare(Name, Qt::CaseInsensitive) == 0)
            return List->item(i);
    return nullptr;
}

void renameCategoryItem(QListWidgetItem* Item, const QString& Name)
{
    QListWidget* list = Item->listWidget();
    // A sorted list moves a changed item; only new items take sorted places.
    const bool sorted = list && list->isSortingEnabled();
    if (list)
        list->setSortingEnabled(false);
    Item->setText(Name);
    if (list)
        list->setSortingEnabled(sorted);
}
