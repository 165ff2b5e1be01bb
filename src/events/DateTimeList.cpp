#include "DateTimeList.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "ElementRun.h"
#include "Exceptions.h"
#include "FileValues.h"

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
    auto item = std::make_unique<TDateTimeItem>();
    item->DateTime = stripped;
    item->NotificationTime = NotificationTime;
    FItems.push_back(std::move(item));
    return GetCount() - 1;
}

TDateTimeItem* TDateTimeList::GetItem(int Index) const
{
    if (Index < 0 || Index >= GetCount())
        throw EListError(Index);
    return FItems[static_cast<size_t>(Index)].get();
}

int TDateTimeList::IndexOf(TDateTime Value) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (FItems[static_cast<size_t>(i)]->DateTime == Value)
            return i;
    return -1;
}

void TDateTimeList::Sort()
{
    std::sort(FItems.begin(), FItems.end(), [](const auto& a, const auto& b) {
        return CompareDateTimeItems(*a, *b) < 0;
    });
}

void TDateTimeList::CopyTo(TDateTimeList& Dest, bool AllowDuplicates) const
{
    if (AllowDuplicates) {
        for (const auto& item : FItems)
            Dest.AddDate(item->DateTime, true, item->NotificationTime);
        return;
    }
    // AddDate's own search for an equal date would make copying a long list
    // quadratic: the dates present are kept in a set instead (exact equality, as IndexOf).
    std::unordered_set<TDateTime> present;
    for (const auto& item : Dest.FItems)
        present.insert(item->DateTime);
    for (const auto& item : FItems) {
        const TDateTime stripped = StripSeconds(item->DateTime);
        if (present.insert(stripped).second)
            Dest.AddDate(stripped, true, item->NotificationTime);
    }
}

void TDateTimeList::RemoveDate(TDateTime Value)
{
    std::erase_if(FItems, [Value](const auto& item) { return item->DateTime == Value; });
}

void TDateTimeList::Delete(int Index)
{
    if (Index < 0 || Index >= GetCount())
        throw EListError(Index);
    FItems.erase(FItems.begin() + Index);
}

TDateTime StripSeconds(TDateTime Value)
{
    int hour = 0, minute = 0, second = 0, msec = 0;
    decodeTime(Value, hour, minute, second, msec);
    return incMilliSecond(Value, -(second * 1000LL + msec));
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

QString TDateTimeList::SaveToString() const
{
    QString text;
    for (const auto& item : FItems)
        text += QStringLiteral("<DATE>") + formatJulian(item->DateTime) + QStringLiteral("</DATE>");
    return text;
}

void TDateTimeList::LoadFromString(const QString& S, bool AllowDuplicates)
{
    // AddDate's own search for an equal date would make a long run quadratic:
    // the dates present are kept in a set instead.
    std::unordered_set<TDateTime> present;
    if (!AllowDuplicates)
        for (const auto& item : FItems)
            present.insert(item->DateTime);

    ElementRun dates(S, QStringLiteral("DATE"));
    QStringView value;
    while (dates.next(value)) {
        // Text that is not a number, or no date of years 1-9999, is skipped.
        TDateTime date = 0;
        if (!readJulian(value, date))
            continue;
        auto item = std::make_unique<TDateTimeItem>();
        item->DateTime = StripSeconds(date);
        if (!AllowDuplicates && !present.insert(item->DateTime).second)
            continue;
        FItems.push_back(std::move(item));
    }
}
