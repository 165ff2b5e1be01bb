#pragma once

#include <QString>

class QListWidget;
class QListWidgetItem;

// The items of the category check list: one checkable item per name, in
// alphabetical order whatever the letter case; names match ignoring case.

// Adds a name at its sorted place, with its check box set as given.
QListWidgetItem* addCategoryItem(QListWidget* List, const QString& Name, bool Checked);
// The item whose whole text equals Name ignoring case; nullptr when there is none.
QListWidgetItem* findCategoryItem(const QListWidget* List, const QString& Name);
// Gives the item a new text; it keeps its place and its check mark, even where the
// new text would sort elsewhere.
void renameCategoryItem(QListWidgetItem* Item, const QString& Name);
