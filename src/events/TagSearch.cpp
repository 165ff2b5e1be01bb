#include "TagSearch.h"

namespace {

bool isAsciiLetter(QChar c)
{
    return asciiLower(c.unicode()) >= u'a' && asciiLower(c.unicode()) <= u'z';
}

bool matchesAt(QStringView text, qsizetype at, QStringView tag)
{
    for (qsizetype i = 0; i < tag.size(); ++i)
        if (!sameIgnoringAsciiCase(text[at + i], tag[i]))
            return false;
    return true;
}

} // namespace

qsizetype findTag(QStringView Text, QStringView Tag, qsizetype From)
{
    if (From < 0)
        From = 0;
    if (Tag.isEmpty())
        return From <= Text.size() ? From : -1;
    const qsizetype last = Text.size() - Tag.size();
    if (isAsciiLetter(Tag[0])) {
        for (qsizetype at = From; at <= last; ++at)
            if (matchesAt(Text, at, Tag))
                return at;
        return -1;
    }
    // Tags begin with "<", which no letter case changes: stop only there.
    const char16_t first = Tag[0].unicode();
    const char16_t* text = Text.utf16();
    for (qsizetype at = From; at <= last; ++at)
        if (text[at] == first && matchesAt(Text, at + 1, Tag.mid(1)))
            return at;
    return -1;
}
