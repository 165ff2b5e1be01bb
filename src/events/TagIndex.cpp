#include "TagIndex.h"

#include "TagSearch.h"

namespace {

bool sameName(QStringView a, QLatin1StringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (!sameIgnoringAsciiCase(a[i], QChar(b[i])))
            return false;
    return true;
}

} // namespace

TagIndex::TagIndex(QStringView Text, std::span<const QLatin1StringView> Names)
    : FText(Text), FNames(Names), FStart(Names.size(), -1), FEnd(Names.size(), -1)
{
    // Every "<name>" and "</name>" of the text is a "<" followed by characters
    // other than "<" and ">" up to the next ">".
    qsizetype at = Text.indexOf(u'<');
    while (at >= 0) {
        qsizetype close = at + 1;
        while (close < Text.size() && Text[close] != u'<' && Text[close] != u'>')
            ++close;
        if (close >= Text.size())
            break;
        if (Text[close] == u'<') {
            at = close;
            continue;
        }
        const QStringView name = Text.mid(at + 1, close - at - 1);
        if (name.startsWith(u'/'))
            note(name.mid(1), at, true);
        else
            note(name, at, false);
        at = Text.indexOf(u'<', close + 1);
    }
}

void TagIndex::note(QStringView Name, qsizetype TagStart, bool IsEnd)
{
    for (size_t i = 0; i < FNames.size(); ++i) {
        if (!sameName(Name, FNames[i]))
            continue;
        qsizetype& first = IsEnd ? FEnd[i] : FStart[i];
        if (first < 0)
            first = TagStart;
        return;
    }
}

bool TagIndex::found(int Index) const
{
    return FStart[static_cast<size_t>(Index)] >= 0 && FEnd[static_cast<size_t>(Index)] >= 0;
}

QStringView TagIndex::value(int Index) const
{
    if (!found(Index))
        return {};
    const auto i = static_cast<size_t>(Index);
    const qsizetype from = FStart[i] + FNames[i].size() + 2;
    return FEnd[i] >= from ? FText.mid(from, FEnd[i] - from) : QStringView();
}

QStringView TagIndex::element(int Index) const
{
    if (!found(Index))
        return {};
    const auto i = static_cast<size_t>(Index);
    const qsizetype startTagSize = FNames[i].size() + 2;
    const qsizetype endTagSize = FNames[i].size() + 3;
    if (FEnd[i] < FStart[i] + startTagSize)
        return {};
    return FText.mid(FStart[i], FEnd[i] + endTagSize - FStart[i]);
}
