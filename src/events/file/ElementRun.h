#pragma once

#include <QtGlobal>

#include <string>
#include <string_view>

// The elements of one name taken out of a text one after the other: each step
// finds the first "<Tag>" and the first "</Tag>" of what is left, yields the
// text between them and removes that element, exactly as repeated calls of
// ExtractTagValue on the remainder would, but in time linear in the text.
class ElementRun {
public:
    // With EndAtNextStartTag, an element in which another start tag of its name
    // comes before its end tag ends there, without an end tag: its end tag went
    // missing, and the next element is read whole. One that holds nothing but
    // blanks there is a start tag written twice, and is passed over.
    enum Mode { Plain, EndAtNextStartTag };
    ElementRun(std::string_view Text, std::string_view Tag, Mode Mode_ = Plain);

    // False, with an empty Value, when the element is missing or its inner
    // text is empty; that ends the run.
    bool next(std::string_view& Value);
    // The whole element that the last step found, tags included; empty when
    // its start tag ran across the place where an earlier element was taken out.
    std::string_view element() const { return FElement; }
    // Where the unread text starts.
    qsizetype position() const { return FPos; }
    // Takes the element whose start tag is at Start and whose end tag is at End
    // (both in Text) as next() would, for a caller that has seen that no "<"
    // lies between them but the element's own inner tags. False, changing
    // nothing, unless only blanks and line ends lie before Start.
    bool takeAt(qsizetype Start, qsizetype End);
    // Whether text other than blanks and line ends lay between the elements
    // taken out so far, or (once the run has ended) was left unread after them.
    bool skippedText() const { return FSkippedText; }
    // Whether an element so far ended at the next one's start tag.
    bool endedAtAStartTag() const { return FEndedAtAStartTag; }

private:
    // Where Tag first occurs in what is left, counted from the seam between the
    // kept prefix and the unread text (negative: it starts in the kept prefix).
    bool find(std::string_view Tag, qsizetype& At) const;
    // Relative to the unread text; EndTagSize 0 for an element that ends at a start tag.
    std::string_view take(qsizetype Start, qsizetype End, qsizetype EndTagSize);
    // Where the first start tag after the one at Start lies, when it comes before End.
    bool startTagBefore(qsizetype Start, qsizetype End, qsizetype& Next) const;
    bool matchesAcrossSeam(std::string_view Tag, qsizetype TailIndex) const;
    char charAt(qsizetype SeamOffset) const;

    std::string_view FText;
    std::string FStartTag;
    std::string FEndTag;
    qsizetype FPos = 0; // start of the unread text
    // The end of the text kept before the removed elements: only a tag that
    // starts there and ends in the unread text could be found in it.
    std::string FTail;
    std::string_view FElement;
    Mode FMode;
    bool FDone = false;
    bool FSkippedText = false;
    bool FEndedAtAStartTag = false;
};
