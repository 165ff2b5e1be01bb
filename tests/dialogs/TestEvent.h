#pragma once

#include <QString>

#include <vector>

#include "events/EventList.h"

// An event for a test, described by what differs from a plain one: enabled, with a
// time of day, normal importance, category "General", no reminder, no repeated dates.
struct TestEvent {
    TDateTime when = 0;
    QString description = "Event";
    bool enabled = true;
    TEventImportance importance = eiNormal;
    bool reminder = false; // a sound 15 minutes before each occurrence
    bool popUp = false;
    QString commands = {};               // a command file to launch at the reminder
    std::vector<TDateTime> repeats = {}; // repeated dates
    QString category = "General";
    QString notes = {};
    bool onCalendar = false;

    // Adds the event to the list; returns its index.
    int addTo(TEventList& events) const
    {
        TEvent event;
        event.SetValues(when, true, 0, category, description, reminder ? 1 : 0, reminder ? -15 : 0);
        event.Enabled = enabled;
        event.Importance = importance;
        event.PopUpNotify = popUp;
        event.ExecuteFile = !commands.isEmpty();
        event.ExecuteFileXTimes = 1;
        event.CmdsToExecute = commands;
        event.Notes = notes;
        event.ShowOnCalendar = onCalendar;
        for (TDateTime date : repeats)
            event.RepeatedDates->AddDate(date, false, 0);
        const int index = events.AddEvent(event);
        events.GetEvent(index)->RecalculateNoticationTimes();
        return index;
    }
};
