#pragma once

#include <QString>
#include <QStringView>

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
    // Whether text other than blanks and line ends lay between the elements
    // taken out so far, or (once the run has ended) was left unread after them.
    bool skippedText() const { return FSkippedText; }

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
    bool FSkippedText = false;
};
