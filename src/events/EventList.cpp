#include "EventList.h"

#include "CaseFolding.h"
#include "Exceptions.h"

TEventList::TEventList() = default;
TEventList::~TEventList() = default;

TEvent* TEventList::GetEvent(int Index) const
{
    if (Index < 0 || Index >= Count())
        return nullptr;
    return FItems[static_cast<size_t>(Index)].get();
}

int TEventList::AddEvent(const TEvent& Event)
{
    auto copy = std::make_unique<TEvent>();
    TEvent::Copy(Event, *copy);
    FItems.push_back(std::move(copy));
    Modified = true;
    return Count() - 1;
}

void TEventList::indexCategories()
{
    FCategoryIndex.clear();
    FCategoryIndex.reserve(Categories.size());
    for (int i = static_cast<int>(Categories.size()) - 1; i >= 0; --i)
        FCategoryIndex.insert(caseFolded(Categories[i]), i); // the first of equal names counts
    FIndexedCategories = Categories;
}

int TEventList::AddCategory(const QString& Name)
{
    if (Categories.constData() != FIndexedCategories.constData() || Categories.size() != FIndexedCategories.size())
        indexCategories();
    const QString key = caseFolded(Name);
    int index = FCategoryIndex.value(key, -1);
    if (index < 0) {
        FIndexedCategories = QStringList(); // the list's only owner appends without a copy
        Categories.append(Name);
        index = Categories.size() - 1;
        FCategoryIndex.insert(key, index);
        FIndexedCategories = Categories;
    }
    Modified = true;
    return index;
}

void TEventList::DeleteEvent(int Index)
{
    if (Index < 0)
        throw EListError(Index);
    if (Index < Count())
        FItems.erase(FItems.begin() + Index);
    Modified = true;
}

void TEventList::DeleteOccurrence(const TListViewEventItem& Item)
{
    wrapExceptions("TEventList.DeleteOccurrence", [&] {
        TEvent* event = GetEvent(Item.EventIndex);
        if (!event)
            return;
        // Deleting the only occurrence deletes the event; any other goes as in a dismissal.
        if (Item.DateIndex < 0 && !event->HasRepeatedEvents())
            DeleteEvent(Item.EventIndex);
        else
            event->Dismiss(Item);
    });
    Modified = true;
}

void TEventList::Dissmiss(const TListViewEventItem& Item)
{
    wrapExceptions("TEventList.Dissmiss", [&] {
        if (TEvent* event = GetEvent(Item.EventIndex))
            event->Dismiss(Item);
    });
    Modified = true;
}

bool TEventList::DateHasEventForCalendar(TDateTime Date) const
{
    return wrapExceptions("TEventList.DateHasEventForCalendar", [&] {
        bool isRepeat = false;
        for (const auto& event : FItems)
            if (event->ShowOnCalendar && event->WillFallOnDate(Date, isRepeat))
                return true;
        return false;
    });
}

bool TEventList::HasEventWithDescription(const TEvent& Event) const
{
    for (const auto& event : FItems)
        if (event->Description == Event.Description)
            return true;
    return false;
}
