#include "DateTimeList.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_set>

#include "Exceptions.h"
#include "events/file/ByteScan.h"
#include "events/file/ElementRun.h"
#include "events/file/FileValues.h"
#include "events/file/TagSearch.h"

namespace {

bool startsWithTag(std::string_view Text, std::string_view Tag)
{
    return Text.size() >= Tag.size() &&
           std::equal(Tag.begin(), Tag.end(), Text.begin(), sameIgnoringAsciiCase);
}

// The values of a run written as the program writes it: DATE elements one
// after the other, nothing between them and no "<" in a value. There the
// general run would find each element in turn; false for any other text.
bool plainDateRun(std::string_view S, std::vector<std::string_view>& Values)
{
    Values.clear();
    while (!S.empty()) {
        if (!startsWithTag(S, "<DATE>"))
            return false;
        S.remove_prefix(6);
        const auto end = static_cast<size_t>(findByte(S.data(), S.data() + S.size(), '<') - S.data());
        if (!startsWithTag(S.substr(end), "</DATE>"))
            return false;
        Values.push_back(S.substr(0, end));
        S.remove_prefix(end + 7);
    }
    return true;
}

} // namespace

void TDateTimeItem::Assign(const TDateTimeItem& Source)
{
    DateTime = Source.DateTime;
    NotificationTime = Source.NotificationTime;
    NotificationCount = Source.NotificationCount;
    ExecuteCount = Source.ExecuteCount;
}

void TDateTimeItem::ResetCounters()
{
    NotificationCount = 0;
    ExecuteCount = 0;
}

int TDateTimeList::AddDate(TDateTime DateTime, bool AllowDuplicates, TDateTime NotificationTime)
{
    const TDateTime stripped = StripSeconds(DateTime);
    if (!AllowDuplicates && IndexOf(stripped) >= 0)
        return -1;
    TDateTimeItem& item = FItems.emplace_back();
    item.DateTime = stripped;
    item.NotificationTime = NotificationTime;
    return GetCount() - 1;
}

TDateTimeItem* TDateTimeList::GetItem(int Index) const
{
    if (Index < 0 || Index >= GetCount())
        throw EListError(Index);
    // The list hands out its items for the callers to change in place.
    return const_cast<TDateTimeItem*>(&FItems[static_cast<size_t>(Index)]);
}

int TDateTimeList::IndexOf(TDateTime Value) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (FItems[static_cast<size_t>(i)].DateTime == Value)
            return i;
    return -1;
}

bool TDateTimeList::contains(TDateTime Value) const
{
    return IndexOf(Value) >= 0;
}

void TDateTimeList::Sort()
{
    std::sort(FItems.begin(), FItems.end(),
              [](const TDateTimeItem& a, const TDateTimeItem& b) { return CompareDateTimeItems(a, b) < 0; });
}

void TDateTimeList::CopyTo(TDateTimeList& Dest, bool AllowDuplicates) const
{
    if (AllowDuplicates) {
        for (const TDateTimeItem& item : FItems)
            Dest.AddDate(item.DateTime, true, item.NotificationTime);
        return;
    }
    // AddDate's own search for an equal date would make copying a long list
    // quadratic: the dates present are kept in a set instead (exact equality, as IndexOf).
    std::unordered_set<TDateTime> present;
    for (const TDateTimeItem& item : Dest.FItems)
        present.insert(item.DateTime);
    for (const TDateTimeItem& item : FItems) {
        const TDateTime stripped = StripSeconds(item.DateTime);
        if (present.insert(stripped).second)
            Dest.AddDate(stripped, true, item.NotificationTime);
    }
}

void TDateTimeList::RemoveDate(TDateTime Value)
{
    std::erase_if(FItems, [Value](const TDateTimeItem& item) { return item.DateTime == Value; });
}

void TDateTimeList::Delete(int Index)
{
    if (Index < 0 || Index >= GetCount())
        throw EListError(Index);
    FItems.erase(FItems.begin() + Index);
}

TDateTime StripSeconds(TDateTime Value)
{
    // The seconds and milliseconds of the value's time of day, in whole milliseconds.
    const std::int64_t msecs = toMilliseconds(Value);
    const std::int64_t intoMinute = ((msecs % 60000) + 60000) % 60000;
    return fromMilliseconds(msecs - intoMinute);
}

int CompareDateTimes(TDateTime A, TDateTime B)
{
    if (std::fabs(A - B) < OneMillisecond)
        return 0;
    return A < B ? -1 : 1;
}

int CompareDateTimeItems(const TDateTimeItem& Item1, const TDateTimeItem& Item2)
{
    return CompareDateTimes(Item1.DateTime, Item2.DateTime);
}

void TDateTimeList::appendTo(std::string& Out, char Point) const
{
    // Written in place, into room made for the longest elements, then cut to size.
    constexpr std::string_view start = "<DATE>", end = "</DATE>";
    const size_t old = Out.size();
    Out.resize(old + FItems.size() * (start.size() + MaxJulianSize + end.size()));
    char* at = Out.data() + old;
    for (const TDateTimeItem& item : FItems) {
        std::memcpy(at, start.data(), start.size());
        at = writeJulian(at + start.size(), item.DateTime, Point);
        std::memcpy(at, end.data(), end.size());
        at += end.size();
    }
    Out.resize(static_cast<size_t>(at - Out.data()));
}

QString TDateTimeList::SaveToString() const
{
    std::string text;
    appendTo(text, julianDecimalPoint());
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

void TDateTimeList::LoadFromString(const QString& S, bool AllowDuplicates)
{
    const QByteArray bytes = S.toUtf8();
    loadFromBytes(std::string_view(bytes.data(), static_cast<size_t>(bytes.size())), AllowDuplicates, true);
}

void TDateTimeList::loadFromBytes(std::string_view S, bool AllowDuplicates, bool Utf8)
{
    // The new dates are gathered first, so that the list grows once, to its size.
    thread_local std::vector<TDateTime> found;
    found.clear();
    // Up to this many dates a search through them finds a duplicate fastest;
    // beyond, the dates are also kept in a set, so that a long run does not
    // take quadratic time.
    constexpr size_t LongList = 32;
    std::unordered_set<TDateTime> present;
    const auto isNew = [&](TDateTime date) {
        if (AllowDuplicates)
            return true;
        if (FItems.size() + found.size() < LongList)
            return !contains(date) && std::find(found.begin(), found.end(), date) == found.end();
        if (present.empty()) {
            for (const TDateTimeItem& item : FItems)
                present.insert(item.DateTime);
            present.insert(found.begin(), found.end());
        }
        return present.insert(date).second;
    };

    thread_local std::vector<std::string_view> values;
    if (!plainDateRun(S, values)) {
        values.clear();
        ElementRun dates(S, "DATE");
        for (std::string_view value; dates.next(value);)
            values.push_back(value);
    }
    for (const std::string_view value : values) {
        if (value.empty())
            break; // an empty element ends the run
        // Text that is not a number, or no date of years 1-9999, is skipped.
        TDateTime date = 0;
        if (readJulian(value, date, Utf8) && isNew(date = StripSeconds(date)))
            found.push_back(date);
    }
    FItems.reserve(FItems.size() + found.size());
    for (const TDateTime date : found)
        FItems.emplace_back().DateTime = date;
}
