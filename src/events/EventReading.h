#pragma once

#include <QString>

#include <string>
#include <string_view>

#include "DateTimeUtils.h"

// What the events of one file share while it is read: how its bytes are text,
// and the time that every notification time is worked out against (the clock
// is read once per load).
class EventReading {
public:
    EventReading(bool Utf8, bool Escaped, TDateTime CurrentTime)
        : FUtf8(Utf8), FEscaped(Escaped), FCurrentTime(CurrentTime)
    {
    }

    bool utf8() const { return FUtf8; }
    TDateTime currentTime() const { return FCurrentTime; }

    // A value as text: decoded, every line end as CR LF, and the entities of
    // an escaped file unescaped.
    QString text(std::string_view Value) const;
    // The same, with one string shared by the equal values that follow one
    // another (the events of a category, the sounds): they cost memory once.
    QString sharedText(std::string_view Value);

private:
    bool FUtf8;
    bool FEscaped;
    TDateTime FCurrentTime;
    std::string_view FLastValue;
    QString FLastText;
    bool FHasLast = false;
};

// CR LF, a lone LF and a lone CR each end a line; every line end becomes CR LF.
bool hasOnlyCrLfLineEnds(std::string_view Text);
void appendWithCrLfLineEnds(std::string& Out, std::string_view Text);
