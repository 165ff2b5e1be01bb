#include "EventList.h"

#include <utility>
#include <vector>

#include "Exceptions.h"

namespace {

// Runs body; a failure becomes the wrapper text with the inner message and the event count.
template <typename Body> decltype(auto) wrapWithEventCount(const char* name, int eventCount, Body&& body)
{
    try {
        return body();
    } catch (const std::exception& error) {
        throw QuilletError(exceptionIn(name, exceptionMessage(error), eventCount));
    }
}

} // namespace

void TEventList::GetEventView(const QStringList& Categories, bool UseCategories, TDateTime FromDate, TDateTime ToDate,
                              bool ShowDisabled, bool ShowRepeats, bool ShowLow, bool ShowNormal, bool ShowHigh,
                              bool ShowHighest, TListViewEventItems& Items) const
{
    try {
        // Whole days, both ends included.
        const TDateTime fromDay = dateOf(FromDate);
        const TDateTime toDay = dateOf(ToDate);
        const auto inRange = [fromDay, toDay](TDateTime value) {
            const TDateTime day = dateOf(value);
            return fromDay <= day && day <= toDay;
        };

        // No importance flag set means no importance filter.
        const bool filterImportance = ShowLow || ShowNormal || ShowHigh || ShowHighest;
        const bool importanceShown[] = {ShowLow, ShowNormal, ShowHigh, ShowHighest};

        for (int i = 0; i < Count(); ++i) {
            const TEvent& event = *FItems[static_cast<size_t>(i)];
            if (!event.Enabled && !ShowDisabled)
                continue;
            if (filterImportance && !(event.Importance <= eiHighest && importanceShown[event.Importance]))
                continue;
            if (UseCategories && !Categories.contains(event.Category, Qt::CaseInsensitive))
                continue;

            if (inRange(event.GetStartDate()))
                Items.push_back(std::make_unique<TListViewEventItem>(i, -1));
            if (!ShowRepeats)
                continue;
            // A repeated date is listed on its own date, wherever the start date lies.
            const TDateTimeList& repeats = *event.RepeatedDates;
            for (int j = 0; j < repeats.GetCount(); ++j)
                if (inRange(repeats.GetItem(j)->DateTime))
                    Items.push_back(std::make_unique<TListViewEventItem>(i, j));
        }
    } catch (const std::exception&) {
        throw QuilletError(exceptionIn("TEventList.GetEventView"));
    }
}

TDateTime TEventList::GetEventViewDateTime(const TListViewEventItem* Item) const
{
    if (!Item)
        return 0;
    return wrapWithEventCount("TEventList.GetEventViewDateTime", Count(), [&] {
        const TEvent* event = GetEvent(Item->EventIndex);
        if (!event)
            throw EListError(Item->EventIndex);
        return event->GetOccurrence(*Item)->DateTime;
    });
}

void TEventList::SetEventViewDateTime(const TListViewEventItem* Item, TDateTime Value)
{
    if (!Item)
        return;
    wrapWithEventCount("TEventList.SetEventViewDateTime", Count(), [&] {
        TEvent* event = GetEvent(Item->EventIndex);
        if (!event)
            throw EListError(Item->EventIndex);
        // Stored as given: the callers that move occurrences decide what follows.
        event->GetOccurrence(*Item)->DateTime = Value;
    });
}

void TEventList::ClearEventView(TListViewEventItems& Items)
{
    Items.clear();
}

void TEventList::SortEventView(TListViewEventItems& Items) const
{
    const size_t count = Items.size();
    if (count < 2)
        return;

    // Each row's date-time is read once; the rows move alongside their keys.
    std::vector<TDateTime> keys(count);
    for (size_t i = 0; i < count; ++i)
        keys[i] = GetEventViewDateTime(Items[i].get());

    // An exchange sort: rows less than a millisecond apart count as equal, and the
    // exchanges may reorder them; the lists show equal rows in exactly this order.
    for (size_t i = 0; i + 1 < count; ++i)
        for (size_t j = i + 1; j < count; ++j)
            if (keys[i] - keys[j] >= OneMillisecond) {
                std::swap(keys[i], keys[j]);
                SwapItems(Items[i], Items[j]);
            }
}

void SwapItems(std::unique_ptr<TListViewEventItem>& A, std::unique_ptr<TListViewEventItem>& B)
{
    std::swap(A, B);
}
