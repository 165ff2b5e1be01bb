#include "SplicedText.h"

#include <algorithm>

#include "TagSearch.h"

SplicedText::SplicedText(std::string_view Text)
{
    append(Text);
}

void SplicedText::append(std::string_view Piece)
{
    if (Piece.empty())
        return;
    FPieces.push_back(Piece);
    FSize += static_cast<qsizetype>(Piece.size());
}

char SplicedText::at(qsizetype Index) const
{
    for (const std::string_view piece : FPieces) {
        const auto size = static_cast<qsizetype>(piece.size());
        if (Index < size)
            return piece[static_cast<size_t>(Index)];
        Index -= size;
    }
    return 0;
}

void SplicedText::knowFirst(std::string_view Whole, std::string_view Tag, qsizetype At)
{
    FWhole = Whole;
    FKnownFirst.emplace_back(Tag, At);
}

qsizetype SplicedText::findInPiece(std::string_view Piece, std::string_view Tag) const
{
    const char* const whole = FWhole.data();
    if (Piece.data() >= whole && Piece.data() + Piece.size() <= whole + FWhole.size()) {
        const auto start = static_cast<qsizetype>(Piece.data() - whole);
        for (const auto& [tag, first] : FKnownFirst) {
            if (tag != Tag)
                continue;
            // A piece that starts at or before the first occurrence holds it or none.
            if (first < 0)
                return -1;
            if (start <= first)
                return first + static_cast<qsizetype>(Tag.size()) <= start + static_cast<qsizetype>(Piece.size())
                           ? first - start
                           : -1;
        }
    }
    return findTag(Piece, Tag);
}

bool SplicedText::matchesAt(qsizetype At, std::string_view Tag) const
{
    if (At + static_cast<qsizetype>(Tag.size()) > FSize)
        return false;
    for (size_t i = 0; i < Tag.size(); ++i)
        if (!sameIgnoringAsciiCase(at(At + static_cast<qsizetype>(i)), Tag[i]))
            return false;
    return true;
}

qsizetype SplicedText::find(std::string_view Tag) const
{
    qsizetype pieceStart = 0;
    for (const std::string_view piece : FPieces) {
        // A match inside the piece comes before any that starts near its end
        // and runs on into the next pieces.
        const qsizetype inside = findInPiece(piece, Tag);
        if (inside >= 0)
            return pieceStart + inside;
        const auto size = static_cast<qsizetype>(piece.size());
        for (qsizetype i = std::max<qsizetype>(0, size - static_cast<qsizetype>(Tag.size()) + 1); i < size; ++i)
            if (matchesAt(pieceStart + i, Tag))
                return pieceStart + i;
        pieceStart += size;
    }
    return -1;
}

SplicedText SplicedText::part(qsizetype From, qsizetype To) const
{
    SplicedText result;
    result.FWhole = FWhole;
    result.FKnownFirst = FKnownFirst;
    qsizetype pieceStart = 0;
    for (const std::string_view piece : FPieces) {
        const auto size = static_cast<qsizetype>(piece.size());
        const qsizetype from = std::max(From - pieceStart, qsizetype(0));
        const qsizetype to = std::min(To - pieceStart, size);
        if (from < to)
            result.append(piece.substr(static_cast<size_t>(from), static_cast<size_t>(to - from)));
        pieceStart += size;
    }
    return result;
}

SplicedText SplicedText::takeElement(std::string_view Tag)
{
    const std::string startTag = startTagOf(Tag);
    const std::string endTag = endTagOf(Tag);
    const qsizetype start = find(startTag);
    const qsizetype end = find(endTag);
    if (start < 0 || end < 0)
        return {};
    const qsizetype valueStart = start + static_cast<qsizetype>(startTag.size());
    SplicedText value = end >= valueStart ? part(valueStart, end) : SplicedText();
    SplicedText rest = part(0, start);
    for (const std::string_view piece : part(end + static_cast<qsizetype>(endTag.size()), FSize).FPieces)
        rest.append(piece);
    *this = std::move(rest);
    return value;
}

std::string SplicedText::toString() const
{
    std::string text;
    text.reserve(static_cast<size_t>(FSize));
    for (const std::string_view piece : FPieces)
        text += piece;
    return text;
}

std::string_view SplicedText::view(std::string& Storage) const
{
    if (FPieces.size() == 1)
        return FPieces.front();
    Storage = toString();
    return Storage;
}
