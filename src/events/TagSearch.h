#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QStringView>

#include <span>
#include <vector>

// Fast forms of the event file's tag search. Tags are plain text whose ASCII
// letters match without regard to case; each search finds a tag's first
// occurrence. These walk positions in one text instead of building the
// shortened copies that the tag routines hand back.

// The first occurrence of Tag in Text at or after From; -1 when there is none.
qsizetype findTag(QStringView Text, QStringView Tag, qsizetype From = 0);

// A text from which elements are taken out the way ExtractTagValue does it,
// held as pieces of the original text instead of shortened copies of it.
class SplicedText {
public:
    SplicedText() = default;
    explicit SplicedText(QStringView Text);

    // ExtractTagValue on this text: yields the inner text of the first element
    // of Tag and leaves this text without it. A missing element yields an empty
    // text and leaves this one as it was.
    SplicedText takeElement(const QString& Tag);

    bool isEmpty() const { return FSize == 0; }
    QString toString() const;
    // The text as one view; Storage holds a joined copy when it is in pieces.
    QStringView view(QString& Storage) const;

private:
    qsizetype find(QStringView Tag) const;
    bool matchesAt(qsizetype At, QStringView Tag) const;
    QChar at(qsizetype Index) const;
    SplicedText part(qsizetype From, qsizetype To) const;
    void append(QStringView Piece);

    std::vector<QStringView> FPieces;
    qsizetype FSize = 0;
};

// The elements of one name taken out of a text one after the other: each step
// finds the first "<Tag>" and the first "</Tag>" of what is left, yields the
// text between them and removes that element, exactly as repeated calls of
// ExtractTagValue on the remainder would, but in time linear in the text.
class ElementRun {
public:
    ElementRun(QStringView Text, const QString& Tag);

    // False, with an empty Value, when the element is missing or its inner
    // text is empty; that ends the run.
    bool next(QStringView& Value);
    // The whole element that the last step found, tags included; empty when
    // its start tag ran across the place where an earlier element was taken out.
    QStringView element() const { return FElement; }

private:
    // Where Tag first occurs in what is left, counted from the seam between the
    // kept prefix and the unread text (negative: it starts in the kept prefix).
    bool find(const QString& Tag, qsizetype& At) const;
    bool matchesAcrossSeam(const QString& Tag, qsizetype TailIndex) const;
    QChar charAt(qsizetype SeamOffset) const;

    QStringView FText;
    QString FStartTag;
    QString FEndTag;
    qsizetype FPos = 0; // start of the unread text
    // The end of the text kept before the removed elements: only a tag that
    // starts there and ends in the unread text could be found in it.
    QString FTail;
    QStringView FElement;
    bool FDone = false;
};

// The first element of each of a set of names in one text, found in a single
// pass: the value of a name is the text between the first "<Name>" and the
// first "</Name>", as ExtractElement gives it.
class TagIndex {
public:
    TagIndex(QStringView Text, std::span<const QLatin1StringView> Names);

    // The inner text of the element of Names[Index]; empty when it is missing.
    QStringView value(int Index) const;
    // The same element with its tags, as ExtractElement with IncludeTags gives it.
    QStringView element(int Index) const;
    bool found(int Index) const;

private:
    void note(QStringView Name, qsizetype TagStart, bool IsEnd);

    QStringView FText;
    std::span<const QLatin1StringView> FNames;
    std::vector<qsizetype> FStart; // first "<Name>" (-1: none)
    std::vector<qsizetype> FEnd;   // first "</Name>" (-1: none)
};
