#include "EventList.h"

#include "Exceptions.h"

void TEventList::GetExpiredEvents(TListViewEventItems& Items) const
{
    try {
        ClearEventView(Items);
        for (int i = 0; i < Count(); ++i) {
            const TEvent& event = *FItems[static_cast<size_t>(i)];
            if (!event.Enabled || !event.HasReminder())
                continue;
            // A start occurrence without a notification time is not due; repeated dates have no such test.
            const TDateTime startNotification = event.StartDateItem->NotificationTime;
            if (startNotification > 0 && event.DateNeedsNotificationNow(startNotification))
                Items.push_back(std::make_unique<TListViewEventItem>(i, -1));
            for (int j = 0; j < event.RepeatedDates->GetCount(); ++j)
                if (event.DateNeedsNotificationNow(event.RepeatedDates->GetItem(j)->NotificationTime))
                    Items.push_back(std::make_unique<TListViewEventItem>(i, j));
        }
    } catch (...) {
        throw QuilletError(exceptionIn("TEventList.GetExpiredEvents")); // the name only, no message
    }
}

void TEventList::Snooze(const TListViewEventItem& Item, int Minutes)
{
    wrapExceptions("TEventList.Snooze", [&] {
        TEvent* event = GetEvent(Item.EventIndex);
        if (!event)
            throw EListError(Item.EventIndex);
        event->Snooze(Item, Minutes);
    });
}
