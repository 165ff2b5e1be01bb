#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "DateTimeList.h"

enum TEventImportance : std::uint8_t { eiLow, eiNormal, eiHigh, eiHighest };

// Stored, copied, read and written; nothing acts on it.
enum TAfterReminderJobType : std::uint8_t { arDoNothing, arSnoozeMins, arDismiss };

class TListViewEventItem;
struct TExecInfo;
class EventReading;

// One event of the user's list with its occurrences and reminder settings.
// The field names are also the element names of the event file.
class TEvent {
public:
    TEvent();
    ~TEvent();
    TEvent(const TEvent&) = delete;
    TEvent& operator=(const TEvent&) = delete;
    TEvent(TEvent&&) = default; // a moved-from event may only be destroyed

    // Copies every setting of Source into Dest; Dest keeps its start counters.
    static void Copy(const TEvent& Source, TEvent& Dest);

    TDateTime GetStartDate() const { return StartDateItem->DateTime; }
    void SetStartDate(TDateTime Value) { StartDateItem->DateTime = Value; }
    const QString& GetDescription() const { return Description; }
    void SetDescription(const QString& Value) { Description = Value; }
    const QString& GetNotes() const { return Notes; }
    void SetNotes(const QString& Value) { Notes = Value; }
    void SetImportance(TEventImportance Value) { Importance = Value; }
    // A change recalculates the notification times and resets the start counters.
    void SetEnabled(bool Value);
    void SetValues(TDateTime StartDate, bool UseTime, std::uint32_t Duration, const QString& Category,
                   const QString& Description, std::uint8_t AlarmType, std::int32_t AlarmParam);

    void RecalculateNoticationTimes();
    // The same against a time read once for many events.
    void RecalculateNoticationTimes(TDateTime CurrentTime);

    bool HasReminder() const { return AlarmType != 0; }
    bool HasRepeatedEvents() const { return RepeatedDates->GetCount() > 0; }
    // The occurrence's date moved by the reminder offset; 0 without a reminder.
    TDateTime GetAlarmTime(TDateTime Date) const;
    bool WillFallOnDate(TDateTime Date, bool& IsRepeat) const;
    QString GetImportanceText() const;
    QString GetAlarmSoundFile() const;

    // The occurrence that a row names: the start item or a repeated date.
    TDateTimeItem* GetOccurrence(const TListViewEventItem& Item) const;

    // Reminder timing and notification actions (EventReminders.cpp).
    int GetNotificationCount(const TListViewEventItem& Item) const;
    int GetExecuteCount(const TListViewEventItem& Item) const;
    bool RequiresAudioNotification(const TListViewEventItem& Item) const;
    bool RequiresFileExecNotification(const TListViewEventItem& Item) const;
    // Whether the occurrence's commands are due and may run now: not while held.
    bool CommandsMayRun(const TListViewEventItem& Item) const;
    void IncNotificationCount(const TListViewEventItem& Item);
    void IncExecuteCount(const TListViewEventItem& Item);
    void ResetNotificationCount(const TListViewEventItem& Item);
    void DoNotificationAction(const TListViewEventItem& Item, bool AutoDismiss, bool AllowExecute, bool& Dismissed);
    void PlayAlarmSound() const;
    void Snooze(const TListViewEventItem& Item, int Minutes);
    // The occurrence was moved to another date: its reminder falls due from the new
    // date, as though it were new.
    void rescheduleOccurrence(const TListViewEventItem& Item);
    // Ends the occurrence: a repeated date goes, a start gives way to the first
    // repeated date, and a start without repeated dates disables the event.
    void Dismiss(const TListViewEventItem& Item);
    bool NeedsNotificationNow(const TListViewEventItem& Item) const;
    bool DateNeedsNotificationNow(TDateTime Date) const;

    // Command files (EventCommands.cpp).
    void ExecuteCommands(const TListViewEventItem& Item) const;
    static void ExecuteDone(const TExecInfo& Info);

    // The event's element of the event file (file/EventFile.cpp). Its texts are
    // written with "&", "<" and ">" escaped; Escaped false reads the texts of
    // a file written without escaping exactly as they stand.
    QString SaveToXML() const;
    void LoadFromXML(QStringView S, bool Escaped = true);
    // The same on the file's own bytes; Point is the decimal separator to write.
    void appendXML(std::string& Out, char Point) const;
    void loadFromBytes(std::string_view S, EventReading& Reading);
    // Sets every field from its value in the element (a missing one: empty).
    void loadFields(const std::array<std::string_view, 21>& Values, EventReading& Reading);

    bool Enabled = true;
    std::unique_ptr<TDateTimeItem> StartDateItem;
    bool UseTime = false;
    std::uint32_t Duration = 0;
    std::unique_ptr<TDateTimeList> RepeatedDates;
    QString Category;
    QString Description;
    QString Notes;
    std::uint8_t AlarmType = 0; // 0 none, 1 minutes, 2 hours, 3 days
    std::int32_t AlarmParam = 0;
    bool AudioNotify = false;
    QString AlarmSound; // sound name without folder and extension; empty is the system default
    std::int32_t KeepRemindingFor = 0;
    TAfterReminderJobType AfterReminderJob = arDoNothing;
    std::int32_t AfterReminderJobParamInt = 0;
    TEventImportance Importance = eiNormal;
    bool ExecuteFile = false;
    QString CmdsToExecute;
    std::int32_t ExecuteFileXTimes = 0;
    bool ShowOnCalendar = false;
    bool PopUpNotify = false;

    // Not part of the file, nor copied: commands that others may have put in the file
    // wait for the user's yes. A held occurrence stays due, and the file unchanged.
    bool CommandsHeld = false;
};

// The folder of the temporary command files: the program's folder + "tmp/" when that
// is the user's alone, else a private folder of the user's (commandFileFolder).
QString GetTmpFolder();

// 0 when equal, -1 when A is the higher level, 1 when A is the lower.
std::int8_t CompareImportance(TEventImportance A, TEventImportance B);
