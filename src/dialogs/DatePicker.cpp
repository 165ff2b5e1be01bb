#include "DatePicker.h"

#include <QCalendarWidget>
#include <QEvent>
#include <QTextCharFormat>

#include "controls/ReadableColour.h"

namespace {

// A calendar whose weekend days, red as Qt marks them, stay readable on a dark
// desktop's calendar as on a light one.
class ReadableCalendar : public QCalendarWidget {
public:
    ReadableCalendar()
    {
        setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader); // no week numbers, as Qt's own
        colourWeekends();
    }

protected:
    void changeEvent(QEvent* event) override
    {
        QCalendarWidget::changeEvent(event);
        if (event->type() == QEvent::PaletteChange)
            colourWeekends();
    }

private:
    void colourWeekends()
    {
        for (Qt::DayOfWeek day : {Qt::Saturday, Qt::Sunday}) {
            QTextCharFormat format = weekdayTextFormat(day);
            format.setForeground(readableOn(Qt::red, palette().color(QPalette::Base)));
            setWeekdayTextFormat(day, format);
        }
    }
};

} // namespace

DatePicker::DatePicker(QWidget* parent) : QDateEdit(parent)
{
    setCalendarPopup(true);
    setCalendarWidget(new ReadableCalendar);
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
