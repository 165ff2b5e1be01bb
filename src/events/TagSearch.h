#pragma once

#include <QChar>
#include <QStringView>

// Fast forms of the event file's tag search. Tags are plain text whose ASCII
// letters match without regard to case; each search finds a tag's first
// occurrence. SplicedText, ElementRun and TagIndex build on these to walk
// positions in one text instead of building the shortened copies that the tag
// routines hand back.

// The first occurrence of Tag in Text at or after From; -1 when there is none.
qsizetype findTag(QStringView Text, QStringView Tag, qsizetype From = 0);

// The ASCII capitals as small letters; every other character as it is.
inline char16_t asciiLower(char16_t C)
{
    return C >= u'A' && C <= u'Z' ? C + (u'a' - u'A') : C;
}

// Equal, or the same ASCII letter in the other case. Inline: the searches ask it
// for every character they compare.
inline bool sameIgnoringAsciiCase(QChar A, QChar B)
{
    return asciiLower(A.unicode()) == asciiLower(B.unicode());
}
