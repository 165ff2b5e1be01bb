#include "SplicedText.h"

#include <algorithm>

#include "TagSearch.h"

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
