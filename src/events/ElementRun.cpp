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

ElementRun::ElementRun(std::string_view Text, std::string_view Tag)
    : FText(Text), FStartTag(startTagOf(Tag)), FEndTag(endTagOf(Tag))
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
    Value = {};
    FElement = {};
    qsizetype start = 0, end = 0;
    const qsizetype startTagSize = sizeOf(FStartTag), endTagSize = sizeOf(FEndTag);
    if (FDone || !find(FStartTag, start) || !find(FEndTag, end) || end <= start + startTagSize) {
        FDone = true;
        if (!trimBlanksAndControls(mid(FText, FPos)).empty())
            FSkippedText = true;
        return false;
    }
    Value = mid(FText, FPos + start + startTagSize, end - start - startTagSize);
    if (start >= 0) {
        FElement = mid(FText, FPos + start, end + endTagSize - start);
        if (!trimBlanksAndControls(mid(FText, FPos, start)).empty())
            FSkippedText = true;
    }

    // What is left: the kept text up to the start tag, then the text after the end tag.
    const qsizetype keep = endTagSize - 1;
    if (start < 0)
        FTail.resize(static_cast<size_t>(sizeOf(FTail) + start));
    else if (start >= keep)
        FTail = mid(FText, FPos + start - keep, keep);
    else
        FTail = (FTail + std::string(mid(FText, FPos, start))).substr(
            static_cast<size_t>(std::max<qsizetype>(0, sizeOf(FTail) + start - keep)));
    FPos += end + endTagSize;
    return true;
}
