#include "Event.h"

#include <algorithm>
#include <array>
#include <optional>

#include "Escaping.h"
#include "FileValues.h"
#include "TagIndex.h"

namespace {

// The event element's fields, in the order they are written.
enum Field {
    fEnabled,
    fStartDate,
    fUseTime,
    fDuration,
    fRepeatedDates,
    fCategory,
    fDescription,
    fNotes,
    fAlarmType,
    fAlarmParam,
    fAlarmSound,
    fAudioNotify,
    fPopUpNotify,
    fImportance,
    fKeepRemindingFor,
    fAfterReminderJob,
    fAfterReminderJobParamInt,
    fExecuteFile,
    fCmdsToExecute,
    fExecuteFileXTimes,
    fShowOnCalendar,
    fEvent, // the element around them
};

constexpr std::array<QLatin1StringView, 22> TagNames = {
    QLatin1StringView("Enabled"),
    QLatin1StringView("StartDate"),
    QLatin1StringView("UseTime"),
    QLatin1StringView("Duration"),
    QLatin1StringView("RepeatedDates"),
    QLatin1StringView("Category"),
    QLatin1StringView("Description"),
    QLatin1StringView("Notes"),
    QLatin1StringView("AlarmType"),
    QLatin1StringView("AlarmParam"),
    QLatin1StringView("AlarmSound"),
    QLatin1StringView("AudioNotify"),
    QLatin1StringView("PopUpNotify"),
    QLatin1StringView("Importance"),
    QLatin1StringView("KeepRemindingFor"),
    QLatin1StringView("AfterReminderJob"),
    QLatin1StringView("AfterReminderJobParamInt"),
    QLatin1StringView("ExecuteFile"),
    QLatin1StringView("CmdsToExecute"),
    QLatin1StringView("ExecuteFileXTimes"),
    QLatin1StringView("ShowOnCalendar"),
    QLatin1StringView("Event"),
};

constexpr std::array<const char*, 4> ImportanceNames = {"eiLow", "eiNormal", "eiHigh", "eiHighest"};
constexpr std::array<const char*, 3> AfterReminderJobNames = {"arDoNothing", "arSnoozeMins", "arDismiss"};

template <size_t N> QString nameOf(const std::array<const char*, N>& Names, size_t Index)
{
    return Index < N ? QString::fromLatin1(Names[Index]) : QString::number(Index);
}

void writeField(QString& Xml, Field Index, QStringView Value)
{
    const QLatin1StringView name = TagNames[Index];
    Xml += QLatin1StringView("\t<");
    Xml += name;
    Xml += u'>';
    Xml += Value;
    Xml += QLatin1StringView("</");
    Xml += name;
    Xml += QLatin1StringView(">\r\n");
}

} // namespace

QString TEvent::SaveToXML() const
{
    QString xml;
    xml.reserve(600 + Notes.size() + CmdsToExecute.size() + RepeatedDates->GetCount() * 32);
    xml += QLatin1StringView("<Event>\r\n");
    writeField(xml, fEnabled, formatBoolean(Enabled));
    writeField(xml, fStartDate, formatJulian(GetStartDate()));
    writeField(xml, fUseTime, formatBoolean(UseTime));
    writeField(xml, fDuration, QString::number(Duration));
    writeField(xml, fRepeatedDates, RepeatedDates->SaveToString());
    writeField(xml, fCategory, escapeMarkup(Category));
    writeField(xml, fDescription, escapeMarkup(Description));
    writeField(xml, fNotes, escapeMarkup(Notes));
    writeField(xml, fAlarmType, QString::number(AlarmType));
    writeField(xml, fAlarmParam, QString::number(AlarmParam));
    writeField(xml, fAlarmSound, escapeMarkup(AlarmSound));
    writeField(xml, fAudioNotify, formatBoolean(AudioNotify));
    writeField(xml, fPopUpNotify, formatBoolean(PopUpNotify));
    writeField(xml, fImportance, nameOf(ImportanceNames, Importance));
    writeField(xml, fKeepRemindingFor, QString::number(KeepRemindingFor));
    writeField(xml, fAfterReminderJob, nameOf(AfterReminderJobNames, AfterReminderJob));
    writeField(xml, fAfterReminderJobParamInt, QString::number(AfterReminderJobParamInt));
    writeField(xml, fExecuteFile, formatBoolean(ExecuteFile));
    writeField(xml, fCmdsToExecute, escapeMarkup(CmdsToExecute));
    writeField(xml, fExecuteFileXTimes, QString::number(ExecuteFileXTimes));
    writeField(xml, fShowOnCalendar, formatBoolean(ShowOnCalendar));
    xml += QLatin1StringView("</Event>");
    return xml;
}

void TEvent::LoadFromXML(QStringView S, bool Escaped)
{
    // The fields are looked up inside the event element only. The file reader
    // hands over just that element, and then one pass over it finds everything.
    std::optional<TagIndex> index(std::in_place, S, TagNames);
    const QStringView element = index->element(fEvent);
    if (element.size() != S.size())
        index.emplace(element, TagNames);
    const TagIndex& fields = *index;
    const auto text = [&](Field f) { return Escaped ? unescapeMarkup(fields.value(f)) : fields.value(f).toString(); };

    Enabled = readBoolean(fields.value(fEnabled), true);
    // A start date that is missing, unreadable or outside years 1-9999 becomes now.
    TDateTime start = 0;
    SetStartDate(readJulian(fields.value(fStartDate), start) ? start : Now());
    UseTime = readBoolean(fields.value(fUseTime), true);
    // The field is unsigned: a negative number reads as 0.
    Duration = static_cast<std::uint32_t>(std::max(readInteger(fields.value(fDuration), 0), 0));
    RepeatedDates = std::make_unique<TDateTimeList>();
    RepeatedDates->LoadFromString(fields.value(fRepeatedDates).toString(), false);
    Category = text(fCategory);
    if (Category.isEmpty())
        Category = QStringLiteral("General");
    Description = text(fDescription);
    Notes = text(fNotes);
    AlarmType = static_cast<std::uint8_t>(readInteger(fields.value(fAlarmType), 0)); // the low 8 bits
    AlarmParam = readInteger(fields.value(fAlarmParam), 0);
    AlarmSound = text(fAlarmSound);
    AudioNotify = readBoolean(fields.value(fAudioNotify), true);
    PopUpNotify = readBoolean(fields.value(fPopUpNotify), true);
    Importance = static_cast<TEventImportance>(readEnumeration(fields.value(fImportance), ImportanceNames, eiNormal));
    KeepRemindingFor = readInteger(fields.value(fKeepRemindingFor), -1);
    AfterReminderJob = static_cast<TAfterReminderJobType>(
        readEnumeration(fields.value(fAfterReminderJob), AfterReminderJobNames, arDoNothing));
    AfterReminderJobParamInt = readInteger(fields.value(fAfterReminderJobParamInt), 0);
    ExecuteFile = readBoolean(fields.value(fExecuteFile), false);
    CmdsToExecute = text(fCmdsToExecute);
    ExecuteFileXTimes = readInteger(fields.value(fExecuteFileXTimes), 1);
    ShowOnCalendar = readBoolean(fields.value(fShowOnCalendar), true);
    RecalculateNoticationTimes();
}
