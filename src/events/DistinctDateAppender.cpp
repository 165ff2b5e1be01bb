#include "DistinctDateAppender.h"

#include <cmath>

std::int64_t minuteNumber(TDateTime Value)
{
    // Before 1899-12-30 the fraction counts forward from the (negative) day's midnight.
    const double day = std::trunc(Value);
    const double linear = day + std::fabs(Value - day);
    // Whole milliseconds first, as the date routines count them, then whole minutes.
    const std::int64_t msecs = std::llround(linear * MSecsPerDay);
    return msecs >= 0 ? msecs / 60000 : -((-msecs + 59999) / 60000);
}

DistinctDateAppender::DistinctDateAppender(TDateTimeList& List) : list(List)
{
    minutes.reserve(static_cast<size_t>(list.GetCount()) * 2);
    for (int i = 0; i < list.GetCount(); ++i)
        minutes.insert(minuteNumber(list.GetItem(i)->DateTime));
}

int DistinctDateAppender::add(TDateTime DateTime)
{
    const TDateTime stripped = StripSeconds(DateTime);
    if (!minutes.insert(minuteNumber(stripped)).second)
        return -1;
    return list.AddDate(stripped, true, 0);
}
