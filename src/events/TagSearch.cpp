#include "TagSearch.h"

#include <algorithm>

namespace {

char16_t asciiLower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c;
}

bool sameIgnoringAsciiCase(QChar a, QChar b)
{
    return asciiLower(a.unicode()) == asciiLower(b.unicode());
}

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

SplicedText::SplicedText(QStringView Text)
{
    append(Text);
}

void SplicedText::append(QStringView Piece)
{
    if (Piece.isEmpty())
        return;
    FPieces.push_back(Piece);
    FSize += Piece.size();
}

QChar SplicedText::at(qsizetype Index) const
{
    for (const QStringView piece : FPieces) {
        if (Index < piece.size())
            return piece[Index];
        Index -= piece.size();
    }
    return {};
}

bool SplicedText::matchesAt(qsizetype At, QStringView Tag) const
{
    if (At + Tag.size() > FSize)
        return false;
    for (qsizetype i = 0; i < Tag.size(); ++i)
        if (!sameIgnoringAsciiCase(at(At + i), Tag[i]))
            return false;
    return true;
}

qsizetype SplicedText::find(QStringView Tag) const
{
    qsizetype pieceStart = 0;
    for (const QStringView piece : FPieces) {
        // A match inside the piece comes before any that starts near its end
        // and runs on into the next pieces.
        const qsizetype inside = findTag(piece, Tag);
        if (inside >= 0)
            return pieceStart + inside;
        for (qsizetype i = std::max<qsizetype>(0, piece.size() - Tag.size() + 1); i < piece.size(); ++i)
            if (matchesAt(pieceStart + i, Tag))
                return pieceStart + i;
        pieceStart += piece.size();
    }
    return -1;
}

SplicedText SplicedText::part(qsizetype From, qsizetype To) const
{
    SplicedText result;
    qsizetype pieceStart = 0;
    for (const QStringView piece : FPieces) {
        const qsizetype from = std::max(From - pieceStart, qsizetype(0));
        const qsizetype to = std::min(To - pieceStart, piece.size());
        if (from < to)
            result.append(piece.mid(from, to - from));
        pieceStart += piece.size();
    }
    return result;
}

SplicedText SplicedText::takeElement(const QString& Tag)
{
    const QString startTag = QLatin1Char('<') + Tag + QLatin1Char('>');
    const QString endTag = QStringLiteral("</") + Tag + QLatin1Char('>');
    const qsizetype start = find(startTag);
    const qsizetype end = find(endTag);
    if (start < 0 || end < 0)
        return {};
    const qsizetype valueStart = start + startTag.size();
    SplicedText value = end >= valueStart ? part(valueStart, end) : SplicedText();
    SplicedText rest = part(0, start);
    for (const QStringView piece : part(end + endTag.size(), FSize).FPieces)
        rest.append(piece);
    *this = std::move(rest);
    return value;
}

QString SplicedText::toString() const
{
    QString text;
    text.reserve(FSize);
    for (const QStringView piece : FPieces)
        text += piece;
    return text;
}

QStringView SplicedText::view(QString& Storage) const
{
    if (FPieces.size() == 1)
        return FPieces.front();
    Storage = toString();
    return Storage;
}

ElementRun::ElementRun(QStringView Text, const QString& Tag)
    : FText(Text), FStartTag(QLatin1Char('<') + Tag + QLatin1Char('>')),
      FEndTag(QStringLiteral("</") + Tag + QLatin1Char('>'))
{
}

QChar ElementRun::charAt(qsizetype SeamOffset) const
{
    if (SeamOffset < 0)
        return FTail[FTail.size() + SeamOffset];
    return FText[FPos + SeamOffset];
}

bool ElementRun::matchesAcrossSeam(const QString& Tag, qsizetype TailIndex) const
{
    const qsizetype first = TailIndex - FTail.size();
    if (FPos + first + Tag.size() > FText.size())
        return false;
    for (qsizetype i = 0; i < Tag.size(); ++i)
        if (!sameIgnoringAsciiCase(charAt(first + i), Tag[i]))
            return false;
    return true;
}

bool ElementRun::find(const QString& Tag, qsizetype& At) const
{
    for (qsizetype i = 0; i < FTail.size(); ++i)
        if (matchesAcrossSeam(Tag, i)) {
            At = i - FTail.size();
            return true;
        }
    const qsizetype found = findTag(FText, Tag, FPos);
    if (found < 0)
        return false;
    At = found - FPos;
    return true;
}

bool ElementRun::next(QStringView& Value)
{
    Value = QStringView();
    FElement = QStringView();
    qsizetype start = 0, end = 0;
    if (FDone || !find(FStartTag, start) || !find(FEndTag, end) || end <= start + FStartTag.size()) {
        FDone = true;
        return false;
    }
    Value = FText.mid(FPos + start + FStartTag.size(), end - start - FStartTag.size());
    if (start >= 0)
        FElement = FText.mid(FPos + start, end + FEndTag.size() - start);

    // What is left: the kept text up to the start tag, then the text after the end tag.
    const qsizetype keep = FEndTag.size() - 1;
    if (start < 0)
        FTail.truncate(FTail.size() + start);
    else if (start >= keep)
        FTail = FText.mid(FPos + start - keep, keep).toString();
    else
        FTail = (FTail + FText.mid(FPos, start).toString()).right(keep);
    FPos += end + FEndTag.size();
    return true;
}

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
