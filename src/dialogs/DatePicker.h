#pragma once

#include <QDateEdit>

#include "controls/NotifyEvent.h"
#include "events/DateTimeUtils.h"

// A date box with a calendar pop-up over a whole date-time: the user changes only
// the date, and the time of day the program gave it stays.
class DatePicker : public QDateEdit {
    Q_OBJECT

public:
    explicit DatePicker(QWidget* parent = nullptr);

    TDateTime DateTime() const { return FDateTime; }
    // Stores the value as given and never fires OnChange.
    void SetDateTime(TDateTime Value);

    // Fired after the user chose another date.
    TNotifyEvent OnChange;

private:
    void dateEdited(const QDate& Date);

    TDateTime FDateTime = 0;
    bool FSetting = false; // the program is setting the value
};
