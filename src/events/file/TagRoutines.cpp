#include "TagRoutines.h"

namespace {

bool sameIgnoringAsciiCase(QChar a, QChar b)
{
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c; };
    return lower(a.unicode()) == lower(b.unicode());
}

// The first occurrence of Tag in Text, ASCII letters compared without regard to case.
qsizetype findTag(const QString& Text, const QString& Tag)
{
    for (qsizetype at = 0; at + Tag.size() <= Text.size(); ++at) {
        qsizetype i = 0;
        while (i < Tag.size() && sameIgnoringAsciiCase(Text[at + i], Tag[i]))
            ++i;
        if (i == Tag.size())
            return at;
    }
    return -1;
}

struct ElementBounds {
    qsizetype start = -1; // first character of the start tag
    qsizetype end = -1;   // first character of the end tag
};

ElementBounds findElement(const QString& StartTag, const QString& EndTag, const QString& Text)
{
    return {findTag(Text, StartTag), findTag(Text, EndTag)};
}

bool found(const ElementBounds& b) { return b.start >= 0 && b.end >= 0; }

QString innerText(const ElementBounds& b, const QString& StartTag, const QString& Text)
{
    const qsizetype from = b.start + StartTag.size();
    return b.end >= from ? Text.mid(from, b.end - from) : QString();
}

} // namespace

void ExtractElementBetween(const QString& StartTag, const QString& EndTag, const QString& Text, QString& Rest,
                           QString& Value)
{
    const ElementBounds b = findElement(StartTag, EndTag, Text);
    if (!found(b)) {
        Value.clear();
        Rest = Text;
        return;
    }
    Value = innerText(b, StartTag, Text);
    Rest = Text.left(b.start) + Text.mid(b.end + EndTag.size());
}

void ExtractTagValue(const QString& Tag, const QString& Text, QString& Rest, QString& Value)
{
    ExtractElementBetween(QLatin1Char('<') + Tag + QLatin1Char('>'), QStringLiteral("</") + Tag + QLatin1Char('>'),
                          Text, Rest, Value);
}

void ExtractElement(const QString& Text, const QString& StartTag, const QString& EndTag, bool IncludeTags,
                    QString& Value)
{
    const ElementBounds b = findElement(StartTag, EndTag, Text);
    if (!found(b)) {
        Value.clear();
        return;
    }
    if (!IncludeTags)
        Value = innerText(b, StartTag, Text);
    else if (b.end >= b.start + StartTag.size())
        Value = Text.mid(b.start, b.end + EndTag.size() - b.start);
    else
        Value.clear();
}
