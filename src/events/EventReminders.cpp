#include "Event.h"

#include "CheckedMath.h"
#include "EventList.h"
#include "Exceptions.h"
#include "platform/SoundPlayer.h"

int TEvent::GetNotificationCount(const TListViewEventItem& Item) const
{
    return GetOccurrence(Item)->NotificationCount;
}

int TEvent::GetExecuteCount(const TListViewEventItem& Item) const
{
    return GetOccurrence(Item)->ExecuteCount;
}

bool TEvent::RequiresAudioNotification(const TListViewEventItem& Item) const
{
    if (!AudioNotify)
        return false;
    const int count = GetNotificationCount(Item);
    switch (Importance) {
    case eiHighest:
        return true;
    case eiHigh:
        return count < 3;
    case eiLow:
    case eiNormal:
    default:
        return count < 1;
    }
}

bool TEvent::RequiresFileExecNotification(const TListViewEventItem& Item) const
{
    return ExecuteFile && GetExecuteCount(Item) < ExecuteFileXTimes;
}

void TEvent::IncNotificationCount(const TListViewEventItem& Item)
{
    TDateTimeItem* occurrence = GetOccurrence(Item);
    occurrence->NotificationCount = checkedAdd(occurrence->NotificationCount, 1);
}

void TEvent::IncExecuteCount(const TListViewEventItem& Item)
{
    TDateTimeItem* occurrence = GetOccurrence(Item);
    occurrence->ExecuteCount = checkedAdd(occurrence->ExecuteCount, 1);
}

void TEvent::ResetNotificationCount(const TListViewEventItem& Item)
{
    wrapExceptions("TEvent.ResetNotificationCount", [&] { GetOccurrence(Item)->ResetCounters(); });
}

void TEvent::DoNotificationAction(const TListViewEventItem& Item, bool AutoDismiss, bool AllowExecute, bool& Dismissed)
{
    Dismissed = false;
    if (RequiresAudioNotification(Item))
        PlayAlarmSound();
    if (AllowExecute && CommandsMayRun(Item)) {
        // A failed launch leaves the counts alone, so the next check tries again.
        ExecuteCommands(Item);
        IncExecuteCount(Item);
    }
    IncNotificationCount(Item);
    if (AutoDismiss && !RequiresAudioNotification(Item) && !RequiresFileExecNotification(Item)) {
        Dismiss(Item);
        Dismissed = true;
    }
}

bool TEvent::CommandsMayRun(const TListViewEventItem& Item) const
{
    return !CommandsHeld && RequiresFileExecNotification(Item);
}

void TEvent::PlayAlarmSound() const
{
    soundPlayer().play(GetAlarmSoundFile());
}

void TEvent::Snooze(const TListViewEventItem& Item, int Minutes)
{
    wrapExceptions("TEvent.Snooze", [&] {
        ResetNotificationCount(Item);
        GetOccurrence(Item)->NotificationTime = incMinute(Now(), Minutes);
    });
}

void TEvent::rescheduleOccurrence(const TListViewEventItem& Item)
{
    TDateTimeItem* occurrence = GetOccurrence(Item);
    const TDateTime alarm = GetAlarmTime(occurrence->DateTime);
    const TDateTime now = Now();
    occurrence->NotificationTime = alarm > now ? alarm : now;
    occurrence->ResetCounters();
}

void TEvent::Dismiss(const TListViewEventItem& Item)
{
    if (Item.DateIndex >= 0) {
        RepeatedDates->Delete(Item.DateIndex);
    } else if (HasRepeatedEvents()) {
        // The next occurrence becomes the start, with its own reminder state.
        StartDateItem->Assign(*RepeatedDates->GetItem(0));
        RepeatedDates->Delete(0);
    } else {
        SetEnabled(false);
    }
}

bool TEvent::NeedsNotificationNow(const TListViewEventItem& Item) const
{
    return DateNeedsNotificationNow(GetOccurrence(Item)->NotificationTime);
}

bool TEvent::DateNeedsNotificationNow(TDateTime Date) const
{
    return Enabled && HasReminder() && Now() >= Date;
}
