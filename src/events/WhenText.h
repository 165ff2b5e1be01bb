#pragma once

#include <QString>

#include "DateTimeUtils.h"

class TEvent;

// An occurrence's date as the event list and the HTML page show it, with the
// short time for an event that has a time of day: "2024, 05 Mar (Tue), 14:30".
QString formatWhen(const TEvent& Event, TDateTime When);
