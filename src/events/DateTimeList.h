#pragma once

#include <QString>

#include <string>
#include <string_view>
#include <vector>

#include "DateTimeUtils.h"

// One occurrence of an event with the reminder state of that occurrence.
class TDateTimeItem {
public:
    TDateTimeItem() { ResetCounters(); }

    void Assign(const TDateTimeItem& Source);
    void ResetCounters();

    TDateTime DateTime = 0;
    TDateTime NotificationTime = 0; // when the next reminder is due; 0 when not set
    int NotificationCount = 0;      // reminders given
    int ExecuteCount = 0;           // command-file launches made
};

// An owned list of occurrences, held to the whole minute.
class TDateTimeList {
public:
    // Returns the new item's index, or -1 when an equal date was refused.
    int AddDate(TDateTime DateTime, bool AllowDuplicates, TDateTime NotificationTime);
    // Raises "List index out of bounds (%d)" outside 0..Count-1.
    TDateTimeItem* GetItem(int Index) const;
    int GetCount() const { return static_cast<int>(FItems.size()); }
    // Exact comparison: the value looked for is not cut to the minute.
    int IndexOf(TDateTime Value) const;
    void Sort();
    // Appends copies of the dates (with their notification times, without counters).
    void CopyTo(TDateTimeList& Dest, bool AllowDuplicates) const;
    void RemoveDate(TDateTime Value);
    void Delete(int Index);

    // The run of DATE elements that the event file holds.
    QString SaveToString() const;
    void LoadFromString(const QString& S, bool AllowDuplicates);
    // The same on the file's bytes (Utf8: how they are text). Point is the
    // decimal separator to write.
    void appendTo(std::string& Out, char Point) const;
    void loadFromBytes(std::string_view S, bool AllowDuplicates, bool Utf8);

private:
    bool contains(TDateTime Value) const;

    // By value: a list holds a handful of small items, often thousands of lists at once.
    std::vector<TDateTimeItem> FItems;
};

// The value cut down to the whole minute.
TDateTime StripSeconds(TDateTime Value);

// 0 when the dates are less than a millisecond apart, else -1 or 1.
int CompareDateTimeItems(const TDateTimeItem& Item1, const TDateTimeItem& Item2);
int CompareDateTimes(TDateTime A, TDateTime B);
