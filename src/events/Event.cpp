#include "Event.h"

#include <QDir>
#include <QFileInfo>

#include "EventList.h"
#include "platform/CommandFileFolder.h"
#include "platform/GetText.h"
#include "platform/ProgramFolder.h"

TEvent::TEvent() : StartDateItem(std::make_unique<TDateTimeItem>()), RepeatedDates(std::make_unique<TDateTimeList>())
{
}

TEvent::~TEvent() = default;

void TEvent::Copy(const TEvent& Source, TEvent& Dest)
{
    Dest.Enabled = Source.Enabled;
    Dest.StartDateItem->DateTime = Source.StartDateItem->DateTime;
    Dest.StartDateItem->NotificationTime = Source.StartDateItem->NotificationTime;
    Dest.UseTime = Source.UseTime;
    Dest.Duration = Source.Duration;
    auto dates = std::make_unique<TDateTimeList>();
    Source.RepeatedDates->CopyTo(*dates, false);
    Dest.RepeatedDates = std::move(dates);
    Dest.Category = Source.Category;
    Dest.Description = Source.Description;
    Dest.Notes = Source.Notes;
    Dest.AlarmType = Source.AlarmType;
    Dest.AlarmParam = Source.AlarmParam;
    Dest.AlarmSound = Source.AlarmSound;
    Dest.PopUpNotify = Source.PopUpNotify;
    Dest.AudioNotify = Source.AudioNotify;
    Dest.KeepRemindingFor = Source.KeepRemindingFor;
    Dest.Importance = Source.Importance;
    Dest.AfterReminderJob = Source.AfterReminderJob;
    Dest.AfterReminderJobParamInt = Source.AfterReminderJobParamInt;
    Dest.ExecuteFile = Source.ExecuteFile;
    Dest.CmdsToExecute = Source.CmdsToExecute;
    Dest.ExecuteFileXTimes = Source.ExecuteFileXTimes;
    Dest.ShowOnCalendar = Source.ShowOnCalendar;
}

void TEvent::SetEnabled(bool Value)
{
    if (Value == Enabled)
        return;
    Enabled = Value;
    RecalculateNoticationTimes();
    StartDateItem->ResetCounters();
}

void TEvent::SetValues(TDateTime StartDate, bool UseTime_, std::uint32_t Duration_, const QString& Category_,
                       const QString& Description_, std::uint8_t AlarmType_, std::int32_t AlarmParam_)
{
    StartDateItem->DateTime = StripSeconds(StartDate);
    UseTime = UseTime_;
    Duration = Duration_;
    Category = Category_;
    Description = Description_;
    AlarmType = AlarmType_;
    AlarmParam = AlarmParam_;
    AudioNotify = true;
}

void TEvent::RecalculateNoticationTimes()
{
    RecalculateNoticationTimes(Now());
}

void TEvent::RecalculateNoticationTimes(TDateTime CurrentTime)
{
    auto recalculate = [this, CurrentTime](TDateTimeItem& item) {
        const TDateTime alarm = GetAlarmTime(item.DateTime);
        item.NotificationTime = alarm > CurrentTime ? alarm : CurrentTime;
    };
    recalculate(*StartDateItem);
    for (int i = 0; i < RepeatedDates->GetCount(); ++i)
        recalculate(*RepeatedDates->GetItem(i));
}

TDateTime TEvent::GetAlarmTime(TDateTime Date) const
{
    switch (AlarmType) {
    case 1:
        return incMinute(Date, AlarmParam);
    case 2:
        return incHour(Date, AlarmParam);
    case 3:
        return incDay(Date, AlarmParam);
    default:
        return 0;
    }
}

bool TEvent::WillFallOnDate(TDateTime Date, bool& IsRepeat) const
{
    IsRepeat = false;
    if (!Enabled)
        return false;
    if (isSameDay(GetStartDate(), Date))
        return true;
    IsRepeat = true;
    // Repeated dates follow the start date: none lies before it.
    if (GetStartDate() > Date)
        return false;
    for (int i = 0; i < RepeatedDates->GetCount(); ++i)
        if (isSameDay(RepeatedDates->GetItem(i)->DateTime, Date))
            return true;
    return false;
}

QString TEvent::GetImportanceText() const
{
    switch (Importance) {
    case eiLow:
        return _("Low");
    case eiHigh:
        return _("High");
    case eiHighest:
        return _("Highest");
    case eiNormal:
    default:
        return _("Normal");
    }
}

QString TEvent::GetAlarmSoundFile() const
{
    if (AlarmSound.isEmpty())
        return {};
    const QString wanted = AlarmSound + QStringLiteral(".wav");
    const QString folder = readOnlyFilesFolder();
    const QString file = folder + wanted;
    if (QFileInfo::exists(file))
        return file;
    // The sound list offers "Bell.WAV" as "Bell": its file differs only in letter case.
    const QStringList names = QDir(folder).entryList(QDir::Files, QDir::Name);
    for (const QString& name : names)
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return folder + name;
    return file;
}

TDateTimeItem* TEvent::GetOccurrence(const TListViewEventItem& Item) const
{
    if (Item.DateIndex < 0)
        return StartDateItem.get();
    return RepeatedDates->GetItem(Item.DateIndex);
}

QString GetTmpFolder() { return commandFileFolder(); }

std::int8_t CompareImportance(TEventImportance A, TEventImportance B)
{
    if (A == B)
        return 0;
    return A > B ? -1 : 1;
}
