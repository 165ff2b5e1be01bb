#pragma once

#include <cstdint>
#include <unordered_set>

#include "DateTimeList.h"

// Appends dates to a list the way AddDate does with duplicates refused and no
// notification time, but finds the dates already there by hashing their minute
// instead of searching the list, so a run of many dates is added in linear time.
// Nothing else may change the list while the appender is in use.
class DistinctDateAppender {
public:
    explicit DistinctDateAppender(TDateTimeList& List);

    // The new item's index, or -1 when the list holds that minute already.
    int add(TDateTime DateTime);

private:
    TDateTimeList& list;
    std::unordered_set<std::int64_t> minutes;
};

// The minute a date-time lies in, counted on a continuous time line from 1899-12-30.
std::int64_t minuteNumber(TDateTime Value);
