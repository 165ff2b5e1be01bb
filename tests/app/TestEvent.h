#pragma once

#include <QString>

#include "events/EventList.h"

namespace app_testing {

// An event for a test, described by what differs from a plain enabled event with
// a time of day, normal importance, no reminder and no repeated dates.
class TestEvent {
public:
    explicit TestEvent(TDateTime when) : FWhen(when) {}

    TestEvent& description(const QString& text)
    {
        FDescription = text;
        return *this;
    }
    TestEvent& allDay()
    {
        FUseTime = false;
        return *this;
    }
    TestEvent& disabled()
    {
        FEnabled = false;
        return *this;
    }
    TestEvent& importance(TEventImportance value)
    {
        FImportance = value;
        return *this;
    }
    TestEvent& reminder()
    {
        FAlarmType = 1;
        return *this;
    }
    // Repeated dates a week apart after the start.
    TestEvent& weeklyRepeats(int count)
    {
        FRepeats = count;
        return *this;
    }
    TestEvent& category(const QString& name)
    {
        FCategory = name;
        return *this;
    }
    TestEvent& notes(const QString& text)
    {
        FNotes = text;
        return *this;
    }
    TestEvent& onCalendar()
    {
        FShowOnCalendar = true;
        return *this;
    }

    // Adds the event to the list; returns its index.
    int addTo(TEventList& events) const
    {
        TEvent event;
        event.SetValues(FWhen, FUseTime, 0, FCategory, FDescription, FAlarmType, FAlarmType ? -15 : 0);
        event.Enabled = FEnabled;
        event.Importance = FImportance;
        event.Notes = FNotes;
        event.ShowOnCalendar = FShowOnCalendar;
        for (int r = 1; r <= FRepeats; ++r)
            event.RepeatedDates->AddDate(FWhen + 7 * r, false, 0);
        return events.AddEvent(event);
    }

private:
    TDateTime FWhen;
    QString FDescription = QStringLiteral("Event");
    bool FUseTime = true;
    bool FEnabled = true;
    TEventImportance FImportance = eiNormal;
    std::uint8_t FAlarmType = 0;
    int FRepeats = 0;
    QString FCategory = QStringLiteral("General");
    QString FNotes;
    bool FShowOnCalendar = false;
};

} // namespace app_testing
