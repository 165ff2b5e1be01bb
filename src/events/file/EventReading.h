#pragma once

#include <QString>

#include <array>
#include <string>
#include <string_view>

#include "events/DateTimeUtils.h"

// What the events of one file share while it is read: how its bytes are text,
// and the time that every notification time is worked out against (the clock
// is read once per load).
class EventReading {
public:
    // Utf8: the whole file is valid UTF-8. Else each value is UTF-8 when it is
    // valid UTF-8 and Windows-1252 when it is not: the files of the Windows
    // program, and UTF-8 files in which a hand edit or a bad copy left a few
    // bytes that are no UTF-8 (their other values read as they were written).
    EventReading(bool Utf8, bool Escaped, TDateTime CurrentTime)
        : FUtf8(Utf8), FEscaped(Escaped), FCurrentTime(CurrentTime)
    {
    }

    // Whether Value is UTF-8 text.
    bool utf8(std::string_view Value) const;
    TDateTime currentTime() const { return FCurrentTime; }

    // A value as text: decoded, every line end as CR LF, and the entities of
    // an escaped file unescaped.
    QString text(std::string_view Value);
    // Whether the texts read so far were some UTF-8 beyond ASCII and some
    // Windows-1252: a UTF-8 file with damaged values.
    bool mixedEncodings() const { return FSawUtf8 && FSawWindows1252; }
    // The same, with one string shared by the equal values that follow one
    // another (the events of a category, the sounds): they cost memory once.
    QString sharedText(std::string_view Value);

private:
    bool FUtf8;
    bool FEscaped;
    bool FSawUtf8 = false;
    bool FSawWindows1252 = false;
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
