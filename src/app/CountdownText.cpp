#include "CountdownText.h"

#include <QStringList>

#include <cmath>

#include "platform/GetText.h"

namespace {

// The whole units of length unitDays in the span between two date-times. The span
// is taken to the millisecond first: a date-time difference carries rounding
// noise, and 45 seconds must not read as 44.
int wholeUnits(TDateTime a, TDateTime b, double unitDays)
{
    const double spanMSecs = std::round(std::fabs(a - b) * MSecsPerDay);
    return static_cast<int>(std::trunc(spanMSecs / std::round(unitDays * MSecsPerDay)));
}

} // namespace

QString GetCountdownText(TDateTime Date, bool AllowDayNames)
{
    TDateTime R = Now();

    if (AllowDayNames) {
        if (isSameDay(Date, R))
            return _("Today");
        if (isSameDay(Date + 1, R))
            return _("Yesterday");
        if (isSameDay(Date - 1, R))
            return _("Tomorrow");
    }

    const bool future = Date > R;
    const QString sign = future ? QStringLiteral(" ") : QStringLiteral("-");
    const int direction = future ? 1 : -1;

    // Each unit is counted from what the larger units left over, stepping R towards
    // the occurrence. Years and months are calendar steps (the day clamped to the
    // target month), so R can step past the occurrence; it keeps its direction.
    const int years = wholeUnits(Date, R, 365.25);
    R = incYear(R, direction * years);
    const int months = wholeUnits(Date, R, 30.4375);
    R = incMonth(R, direction * months);
    const int days = wholeUnits(Date, R, 1);
    R = R + direction * days;
    const int hours = wholeUnits(Date, R, 1.0 / 24);
    R = (R * 24 + direction * hours) / 24;
    const int minutes = wholeUnits(Date, R, 1.0 / 1440);
    R = (R * 1440 + direction * minutes) / 1440;
    const int seconds = wholeUnits(Date, R, 1.0 / 86400);

    const struct {
        int count;
        const char* word;
    } units[] = {
        {years, N_("yrs")}, {months, N_("mths")}, {days, N_("days")}, {hours, N_("hrs")}, {minutes, N_("mins")}};

    QStringList parts;
    for (const auto& unit : units) {
        if (parts.size() == 2)
            break;
        if (unit.count > 0)
            parts << QString::number(unit.count) + QLatin1Char(' ') + _(unit.word);
    }
    if (parts.isEmpty())
        return sign + QString::number(seconds) + QLatin1Char(' ') + _("secs");
    return sign + parts.join(QStringLiteral(", "));
}
