#pragma once

#include <QString>

#include <array>
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

// The values of an event element's fields, in the order they are written.
using EventFieldValues = std::array<std::string_view, 21>;

// The event element at Start of Text when it stands exactly as the program
// writes it: each field on a line of its own, in order, no "<" in a value but
// the DATE tags of the repeated dates. Then its fields are those that the tag
// search would find, and End is where its end tag starts; false for any other text.
bool readWrittenEvent(std::string_view Text, size_t Start, size_t& End, EventFieldValues& Values);

// CR LF, a lone LF and a lone CR each end a line; every line end becomes CR LF.
bool hasOnlyCrLfLineEnds(std::string_view Text);
void appendWithCrLfLineEnds(std::string& Out, std::string_view Text);
