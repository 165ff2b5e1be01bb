#pragma once

#include <QtGlobal>

#include <string>
#include <string_view>

// Fast forms of the event file's tag search, over the file's bytes. Tags are
// plain ASCII text whose letters match without regard to case; each search
// finds a tag's first occurrence. A tag never matches inside a multi-byte UTF-8
// character, so a search over the bytes finds what a search over the decoded
// text would. SplicedText, ElementRun and TagIndex build on these to walk
// positions in one text instead of building the shortened copies that the tag
// routines hand back.

// The first occurrence of Tag in Text at or after From; -1 when there is none.
qsizetype findTag(std::string_view Text, std::string_view Tag, qsizetype From = 0);

// The ASCII capitals as small letters; every other byte as it is.
inline char asciiLower(char C)
{
    return C >= 'A' && C <= 'Z' ? static_cast<char>(C + ('a' - 'A')) : C;
}

// Equal, or the same ASCII letter in the other case. Inline: the searches ask it
// for every byte they compare.
inline bool sameIgnoringAsciiCase(char A, char B)
{
    return asciiLower(A) == asciiLower(B);
}

// "<Name>" and "</Name>".
std::string startTagOf(std::string_view Name);
std::string endTagOf(std::string_view Name);
