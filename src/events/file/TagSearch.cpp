#include "TagSearch.h"

#include "ByteScan.h"

namespace {

bool isAsciiLetter(char c)
{
    return asciiLower(c) >= 'a' && asciiLower(c) <= 'z';
}

bool matchesAt(std::string_view text, qsizetype at, std::string_view tag)
{
    for (size_t i = 0; i < tag.size(); ++i)
        if (!sameIgnoringAsciiCase(text[static_cast<size_t>(at) + i], tag[i]))
            return false;
    return true;
}

} // namespace

qsizetype findTag(std::string_view Text, std::string_view Tag, qsizetype From)
{
    const auto size = static_cast<qsizetype>(Text.size());
    if (From < 0)
        From = 0;
    if (Tag.empty())
        return From <= size ? From : -1;
    const qsizetype last = size - static_cast<qsizetype>(Tag.size());
    if (last < From)
        return -1;
    if (isAsciiLetter(Tag[0])) {
        for (qsizetype at = From; at <= last; ++at)
            if (matchesAt(Text, at, Tag))
                return at;
        return -1;
    }
    // Tags begin with "<", which no letter case changes: a vectorised scan
    // finds the places where the first two bytes and the last but one fit,
    // worth comparing whole.
    const std::string_view rest = Tag.substr(1);
    const auto matches = [&](size_t at) { return matchesAt(Text, static_cast<qsizetype>(at) + 1, rest); };
    size_t found = 0;
    if (Tag.size() >= 3)
        found = scanForTriple(Text.data(), static_cast<size_t>(From), static_cast<size_t>(last), Tag[0],
                              asciiLower(Tag[1]), asciiLower(Tag[Tag.size() - 2]), Tag.size() - 2, matches);
    else
        found = scanForBytes(Text.data(), static_cast<size_t>(From), static_cast<size_t>(last) + 1, Tag[0], Tag[0],
                             matches);
    return found <= static_cast<size_t>(last) ? static_cast<qsizetype>(found) : -1;
}

std::string startTagOf(std::string_view Name)
{
    std::string tag;
    tag.reserve(Name.size() + 2);
    tag += '<';
    tag += Name;
    tag += '>';
    return tag;
}

std::string endTagOf(std::string_view Name)
{
    std::string tag;
    tag.reserve(Name.size() + 3);
    tag += "</";
    tag += Name;
    tag += '>';
    return tag;
}
