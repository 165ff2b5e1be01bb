#include "WhenText.h"

#include "Event.h"

QString formatWhen(const TEvent& Event, TDateTime When)
{
    return formatDateTime(
        Event.UseTime ? QStringLiteral("yyyy, dd mmm (ddd), t") : QStringLiteral("yyyy, dd mmm (ddd)"), When);
}
