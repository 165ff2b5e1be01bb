#include "events/Event.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>

#include "ByteScan.h"
#include "Escaping.h"
#include "EventReading.h"
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

constexpr std::array<std::string_view, 22> TagNames = {
    "Enabled",
    "StartDate",
    "UseTime",
    "Duration",
    "RepeatedDates",
    "Category",
    "Description",
    "Notes",
    "AlarmType",
    "AlarmParam",
    "AlarmSound",
    "AudioNotify",
    "PopUpNotify",
    "Importance",
    "KeepRemindingFor",
    "AfterReminderJob",
    "AfterReminderJobParamInt",
    "ExecuteFile",
    "CmdsToExecute",
    "ExecuteFileXTimes",
    "ShowOnCalendar",
    "Event",
};

constexpr std::array<const char*, 4> ImportanceNames = {"eiLow", "eiNormal", "eiHigh", "eiHighest"};
constexpr std::array<const char*, 3> AfterReminderJobNames = {"arDoNothing", "arSnoozeMins", "arDismiss"};

template <size_t N> void appendName(std::string& Out, const std::array<const char*, N>& Names, size_t Index)
{
    if (Index < N)
        Out += Names[Index];
    else
        Out += std::to_string(Index);
}

template <class Number> void appendNumber(std::string& Out, Number Value)
{
    char buffer[16];
    Out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, Value).ptr);
}

// Each field's line around its value, made once: "\t<Name>" and "</Name>\r\n".
struct FieldTags {
    std::array<std::string, fEvent> Start, End;
    FieldTags()
    {
        for (size_t i = 0; i < Start.size(); ++i) {
            Start[i] = "\t<" + std::string(TagNames[i]) + ">";
            End[i] = "</" + std::string(TagNames[i]) + ">\r\n";
        }
    }
};

const FieldTags& fieldTags()
{
    static const FieldTags tags;
    return tags;
}

void startField(std::string& Out, Field Index)
{
    Out += fieldTags().Start[Index];
}

void endField(std::string& Out, Field Index)
{
    Out += fieldTags().End[Index];
}

void writeField(std::string& Out, Field Index, std::string_view Value)
{
    startField(Out, Index);
    Out += Value;
    endField(Out, Index);
}

void writeBoolean(std::string& Out, Field Index, bool Value)
{
    writeField(Out, Index, formatBoolean(Value));
}

template <class Number> void writeNumber(std::string& Out, Field Index, Number Value)
{
    startField(Out, Index);
    appendNumber(Out, Value);
    endField(Out, Index);
}

void writeText(std::string& Out, Field Index, const QString& Value)
{
    startField(Out, Index);
    appendEscapedUtf8(Out, Value);
    endField(Out, Index);
}

} // namespace

void TEvent::appendXML(std::string& Out, char Point) const
{
    Out += "<Event>\r\n";
    writeBoolean(Out, fEnabled, Enabled);
    startField(Out, fStartDate);
    appendJulian(Out, GetStartDate(), Point);
    endField(Out, fStartDate);
    writeBoolean(Out, fUseTime, UseTime);
    writeNumber(Out, fDuration, Duration);
    startField(Out, fRepeatedDates);
    RepeatedDates->appendTo(Out, Point);
    endField(Out, fRepeatedDates);
    writeText(Out, fCategory, Category);
    writeText(Out, fDescription, Description);
    writeText(Out, fNotes, Notes);
    writeNumber(Out, fAlarmType, AlarmType);
    writeNumber(Out, fAlarmParam, AlarmParam);
    writeText(Out, fAlarmSound, AlarmSound);
    writeBoolean(Out, fAudioNotify, AudioNotify);
    writeBoolean(Out, fPopUpNotify, PopUpNotify);
    startField(Out, fImportance);
    appendName(Out, ImportanceNames, Importance);
    endField(Out, fImportance);
    writeNumber(Out, fKeepRemindingFor, KeepRemindingFor);
    startField(Out, fAfterReminderJob);
    appendName(Out, AfterReminderJobNames, AfterReminderJob);
    endField(Out, fAfterReminderJob);
    writeNumber(Out, fAfterReminderJobParamInt, AfterReminderJobParamInt);
    writeBoolean(Out, fExecuteFile, ExecuteFile);
    writeText(Out, fCmdsToExecute, CmdsToExecute);
    writeNumber(Out, fExecuteFileXTimes, ExecuteFileXTimes);
    writeBoolean(Out, fShowOnCalendar, ShowOnCalendar);
    Out += "</Event>";
}

QString TEvent::SaveToXML() const
{
    std::string xml;
    appendXML(xml, julianDecimalPoint());
    return QString::fromUtf8(xml.data(), static_cast<qsizetype>(xml.size()));
}

void TEvent::LoadFromXML(QStringView S, bool Escaped)
{
    const QByteArray bytes = S.toUtf8();
    EventReading reading(true, Escaped, Now());
    loadFromBytes(std::string_view(bytes.data(), static_cast<size_t>(bytes.size())), reading);
}

void TEvent::loadFromBytes(std::string_view S, EventReading& Reading)
{
    // The fields are looked up inside the event element only. The file reader
    // hands over just that element, and then one pass over it finds everything.
    std::optional<TagIndex> index(std::in_place, S, TagNames);
    const std::string_view element = index->element(fEvent);
    if (element.size() != S.size())
        index.emplace(element, TagNames);
    const TagIndex& fields = *index;
    EventFieldValues values;
    for (int f = 0; f < fEvent; ++f)
        values[static_cast<size_t>(f)] = fields.value(f);
    loadFields(values, Reading);
}

void TEvent::loadFields(const EventFieldValues& Values, EventReading& Reading)
{
    const auto value = [&](Field f) { return Values[static_cast<size_t>(f)]; };
    const auto utf8 = [&](Field f) { return Reading.utf8(value(f)); };

    Enabled = readBoolean(value(fEnabled), true, utf8(fEnabled));
    // A start date that is missing, unreadable or outside years 1-9999 becomes now.
    TDateTime start = 0;
    SetStartDate(readJulian(value(fStartDate), start, utf8(fStartDate)) ? start : Reading.currentTime());
    UseTime = readBoolean(value(fUseTime), true, utf8(fUseTime));
    // The field is unsigned: a negative number reads as 0.
    Duration = static_cast<std::uint32_t>(std::max(readInteger(value(fDuration), 0), 0));
    if (RepeatedDates->GetCount() != 0) // a new event's own empty list serves as it is
        RepeatedDates = std::make_unique<TDateTimeList>();
    RepeatedDates->loadFromBytes(value(fRepeatedDates), false, utf8(fRepeatedDates));
    Category = Reading.sharedText(value(fCategory));
    if (Category.isEmpty())
        Category = QStringLiteral("General");
    Description = Reading.text(value(fDescription));
    Notes = Reading.text(value(fNotes));
    AlarmType = static_cast<std::uint8_t>(readInteger(value(fAlarmType), 0)); // the low 8 bits
    AlarmParam = readInteger(value(fAlarmParam), 0);
    AlarmSound = Reading.text(value(fAlarmSound));
    AudioNotify = readBoolean(value(fAudioNotify), true, utf8(fAudioNotify));
    PopUpNotify = readBoolean(value(fPopUpNotify), true, utf8(fPopUpNotify));
    Importance = static_cast<TEventImportance>(
        readEnumeration(value(fImportance), ImportanceNames, eiNormal, utf8(fImportance)));
    KeepRemindingFor = readInteger(value(fKeepRemindingFor), -1);
    AfterReminderJob = static_cast<TAfterReminderJobType>(
        readEnumeration(value(fAfterReminderJob), AfterReminderJobNames, arDoNothing, utf8(fAfterReminderJob)));
    AfterReminderJobParamInt = readInteger(value(fAfterReminderJobParamInt), 0);
    ExecuteFile = readBoolean(value(fExecuteFile), false, utf8(fExecuteFile));
    CmdsToExecute = Reading.text(value(fCmdsToExecute));
    ExecuteFileXTimes = readInteger(value(fExecuteFileXTimes), 1);
    ShowOnCalendar = readBoolean(value(fShowOnCalendar), true, utf8(fShowOnCalendar));
    RecalculateNoticationTimes(Reading.currentTime());
}

namespace {

// Steps over Literal at At, exactly as written.
bool expect(std::string_view Text, size_t& At, std::string_view Literal)
{
    if (At > Text.size() || Text.size() - At < Literal.size() ||
        !sameBytes(Text.data() + At, Literal.data(), Literal.size()))
        return false;
    At += Literal.size();
    return true;
}

// The value from At to the next "<".
bool valueUpToTag(std::string_view Text, size_t& At, std::string_view& Value)
{
    const char* const end = Text.data() + Text.size();
    const char* const tag = findByte(Text.data() + std::min(At, Text.size()), end, '<');
    if (tag == end)
        return false;
    const auto tagAt = static_cast<size_t>(tag - Text.data());
    Value = Text.substr(At, tagAt - At);
    At = tagAt;
    return true;
}

// DATE elements one after another, as the program writes them.
bool dateRun(std::string_view Text, size_t& At, std::string_view& Value)
{
    const size_t from = At;
    std::string_view date;
    while (expect(Text, At, "<DATE>"))
        if (!valueUpToTag(Text, At, date) || !expect(Text, At, "</DATE>"))
            return false;
    Value = Text.substr(from, At - from);
    return true;
}

} // namespace

bool readWrittenEvent(std::string_view Text, size_t Start, size_t& End, EventFieldValues& Values)
{
    size_t at = Start;
    if (!expect(Text, at, "<Event>\r\n"))
        return false;
    for (int f = 0; f < fEvent; ++f) {
        const auto i = static_cast<size_t>(f);
        const FieldTags& tags = fieldTags(); // each field's line around its value, as written
        if (!expect(Text, at, tags.Start[i]))
            return false;
        if (!(f == fRepeatedDates ? dateRun(Text, at, Values[i]) : valueUpToTag(Text, at, Values[i])))
            return false;
        if (!expect(Text, at, tags.End[i]))
            return false;
    }
    End = at;
    return expect(Text, at, "</Event>");
}
