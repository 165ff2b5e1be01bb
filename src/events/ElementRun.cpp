#include "ElementRun.h"

#include "FileValues.h"
#include "TagSearch.h"

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
        if (!trimBlanksAndControls(FText.mid(FPos)).isEmpty())
            FSkippedText = true;
        return false;
    }
    Value = FText.mid(FPos + start + FStartTag.size(), end - start - FStartTag.size());
    if (start >= 0) {
        FElement = FText.mid(FPos + start, end + FEndTag.size() - start);
        if (!trimBlanksAndControls(FText.mid(FPos, start)).isEmpty())
            FSkippedText = true;
    }

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
