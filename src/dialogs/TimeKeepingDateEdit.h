#pragma once

#include <QDateEdit>

#include <functional>

#include "events/DateTimeUtils.h"

// A date picker that holds a whole date-time: the user edits only the date (shown
// in the system's long date format) and the time of day stays as it was set.
// OnChange reports the user's edits only, never a value set by the program.
class TimeKeepingDateEdit : public QDateEdit {
    Q_OBJECT

public:
    explicit TimeKeepingDateEdit(QWidget* parent = nullptr);

    TDateTime DateTime() const;
    // Dates outside years 1-9999 are brought into them.
    void SetDateTime(TDateTime Value);

    std::function<void()> OnChange;

private:
    int timeOfDay = 0; // milliseconds after midnight
};
