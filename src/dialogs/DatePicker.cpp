#include "DatePicker.h"

DatePicker::DatePicker(QWidget* parent) : QDateEdit(parent)
{
    setCalendarPopup(true);
    setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
    connect(this, &QDateEdit::dateChanged, this, &DatePicker::dateEdited);
}

void DatePicker::SetDateTime(TDateTime Value)
{
    FDateTime = Value;
    FSetting = true;
    setDate(toQDate(Value));
    FSetting = false;
}

void DatePicker::dateEdited(const QDate& Date)
{
    if (FSetting || !Date.isValid())
        return;
    int hour = 0, minute = 0, second = 0, msec = 0;
    decodeTime(FDateTime, hour, minute, second, msec);
    FDateTime = encodeDateTime(Date.year(), Date.month(), Date.day(), hour, minute, second, msec);
    if (OnChange)
        OnChange(this);
}
