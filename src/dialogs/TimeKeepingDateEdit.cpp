#include "TimeKeepingDateEdit.h"

#include <QLocale>
#include <QSignalBlocker>

#include <algorithm>

TimeKeepingDateEdit::TimeKeepingDateEdit(QWidget* parent) : QDateEdit(parent)
{
    setDisplayFormat(QLocale::system().dateFormat(QLocale::LongFormat));
    setDateRange(QDate(1, 1, 1), QDate(9999, 12, 31));
    setCalendarPopup(true);
    connect(this, &QDateEdit::dateChanged, this, [this] {
        if (OnChange)
            OnChange();
    });
}

TDateTime TimeKeepingDateEdit::DateTime() const
{
    return incMilliSecond(fromQDate(date()), timeOfDay);
}

void TimeKeepingDateEdit::SetDateTime(TDateTime Value)
{
    const TDateTime last = encodeDateTime(9999, 12, 31, 23, 59, 59, 999);
    const TDateTime value = std::clamp(Value, MinDateTime, last);
    int hour = 0, minute = 0, second = 0, msec = 0;
    decodeTime(value, hour, minute, second, msec);
    timeOfDay = ((hour * 60 + minute) * 60 + second) * 1000 + msec;
    const QSignalBlocker quiet(this);
    setDate(toQDate(value));
}
