#pragma once

#include <QtGlobal>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A text from which elements are taken out the way ExtractTagValue does it,
// held as pieces of the original bytes instead of shortened copies of them.
class SplicedText {
public:
    SplicedText() = default;
    explicit SplicedText(std::string_view Text);

    // ExtractTagValue on this text: yields the inner text of the first element
    // of Tag and leaves this text without it. A missing element yields an empty
    // text and leaves this one as it was.
    SplicedText takeElement(std::string_view Tag);

    // Tells where Tag first occurs in Whole, the text that the pieces are cut
    // from (-1: nowhere), so that finding it in a piece needs no scan of its own.
    void knowFirst(std::string_view Whole, std::string_view Tag, qsizetype At);

    bool isEmpty() const { return FSize == 0; }
    const std::vector<std::string_view>& pieces() const { return FPieces; }
    std::string toString() const;
    // The text as one view; Storage holds a joined copy when it is in pieces.
    std::string_view view(std::string& Storage) const;

private:
    qsizetype find(std::string_view Tag) const;
    qsizetype findInPiece(std::string_view Piece, std::string_view Tag) const;
    bool matchesAt(qsizetype At, std::string_view Tag) const;
    char at(qsizetype Index) const;
    SplicedText part(qsizetype From, qsizetype To) const;
    void append(std::string_view Piece);

    std::vector<std::string_view> FPieces;
    qsizetype FSize = 0;
    std::string_view FWhole;
    std::vector<std::pair<std::string, qsizetype>> FKnownFirst;
};
