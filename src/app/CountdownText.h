#pragma once

#include <QString>

#include "events/DateTimeUtils.h"

// How far an occurrence lies from now, in at most two units: " 2 days, 3 hrs",
// "-1 mths, 4 days", " 45 secs". A leading blank marks the future, "-" the past
// (an occurrence exactly now counts as past). With AllowDayNames (an event without
// a time of day) today, yesterday and tomorrow are named instead.
QString GetCountdownText(TDateTime Date, bool AllowDayNames);
