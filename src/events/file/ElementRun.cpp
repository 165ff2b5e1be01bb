#include "ElementRun.h"

#include <algorithm>

#include "FileValues.h"
#include "TagSearch.h"

namespace {

qsizetype sizeOf(std::string_view text)
{
    return static_cast<qsizetype>(text.size());
}

std::string_view mid(std::string_view text, qsizetype from, qsizetype count = -1)
{
    return text.substr(static_cast<size_t>(from), count < 0 ? std::string_view::npos : static_cast<size_t>(count));
}

} // namespace

ElementRun::ElementRun(std::string_view Text, std::string_view Tag, Mode Mode_)
    : FText(Text), FStartTag(startTagOf(Tag)), FEndTag(endTagOf(Tag)), FMode(Mode_)
{
}

char ElementRun::charAt(qsizetype SeamOffset) const
{
    if (SeamOffset < 0)
        return FTail[static_cast<size_t>(sizeOf(FTail) + SeamOffset)];
    return FText[static_cast<size_t>(FPos + SeamOffset)];
}

bool ElementRun::matchesAcrossSeam(std::string_view Tag, qsizetype TailIndex) const
{
    const qsizetype first = TailIndex - sizeOf(FTail);
    if (FPos + first + sizeOf(Tag) > sizeOf(FText))
        return false;
    for (qsizetype i = 0; i < sizeOf(Tag); ++i)
        if (!sameIgnoringAsciiCase(charAt(first + i), Tag[static_cast<size_t>(i)]))
            return false;
    return true;
}

bool ElementRun::find(std::string_view Tag, qsizetype& At) const
{
    for (qsizetype i = 0; i < sizeOf(FTail); ++i)
        if (matchesAcrossSeam(Tag, i)) {
            At = i - sizeOf(FTail);
            return true;
        }
    const qsizetype found = findTag(FText, Tag, FPos);
    if (found < 0)
        return false;
    At = found - FPos;
    return true;
}

bool ElementRun::next(std::string_view& Value)
{
    for (;;) {
        Value = {};
        FElement = {};
        qsizetype start = 0, end = 0;
        if (FDone || !find(FStartTag, start) || !find(FEndTag, end) || end <= start + sizeOf(FStartTag)) {
            FDone = true;
            if (!trimBlanksAndControls(mid(FText, FPos)).empty())
                FSkippedText = true;
            return false;
        }
        qsizetype next = 0;
        if (FMode == EndAtNextStartTag && startTagBefore(start, end, next)) {
            FEndedAtAStartTag = true;
            Value = take(start, next, 0);
            // A start tag written twice holds nothing: it is no element of its own.
            if (trimBlanksAndControls(Value).empty())
                continue;
            FElement = {}; // it has no end tag to include
            return true;
        }
        Value = take(start, end, sizeOf(FEndTag));
        return true;
    }
}

bool ElementRun::startTagBefore(qsizetype Start, qsizetype End, qsizetype& Next) const
{
    // No start tag lies whole in the kept text (the first one is taken), and one
    // that begins there would have begun before Start: the search starts at the seam.
    const qsizetype from = std::max<qsizetype>(0, Start + sizeOf(FStartTag));
    if (End <= from)
        return false;
    const qsizetype found = findTag(FText.substr(0, static_cast<size_t>(FPos + End)), FStartTag, FPos + from);
    if (found < 0)
        return false;
    Next = found - FPos;
    return true;
}

std::string_view ElementRun::take(qsizetype Start, qsizetype End, qsizetype EndTagSize)
{
    const qsizetype startTagSize = sizeOf(FStartTag), endTagSize = EndTagSize;
    const std::string_view value = mid(FText, FPos + Start + startTagSize, End - Start - startTagSize);
    FElement = {};
    if (Start >= 0) {
        FElement = mid(FText, FPos + Start, End + endTagSize - Start);
        if (!trimBlanksAndControls(mid(FText, FPos, Start)).empty())
            FSkippedText = true;
    }

    // What is left: the kept text up to the start tag, then the text after the end tag.
    const qsizetype keep = sizeOf(FEndTag) - 1; // room for any tag that could run across the seam
    if (Start < 0)
        FTail.resize(static_cast<size_t>(sizeOf(FTail) + Start));
    else if (Start >= keep)
        FTail = mid(FText, FPos + Start - keep, keep);
    else
        FTail = (FTail + std::string(mid(FText, FPos, Start)))
                    .substr(static_cast<size_t>(std::max<qsizetype>(0, sizeOf(FTail) + Start - keep)));
    FPos += End + endTagSize;
    return value;
}

bool ElementRun::takeAt(qsizetype Start, qsizetype End)
{
    // Blanks only before the start tag, and nothing kept that a tag could begin in:
    // then these are the first start tag and (as the caller saw) the first end tag.
    if (FDone || Start < FPos || FTail.find('<') != std::string::npos ||
        !trimBlanksAndControls(mid(FText, FPos, Start - FPos)).empty())
        return false;
    take(Start - FPos, End - FPos, sizeOf(FEndTag));
    return true;
}
