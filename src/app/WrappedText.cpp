#include "WrappedText.h"

#include <QFontMetrics>
#include <QTextLayout>

QStringList wrappedLines(QStringView Text, bool MoreFollows, const QFont& Font, int Width, int MaxLines)
{
    QStringList lines;
    if (Width <= 0 || MaxLines <= 0)
        return lines;
    const QFontMetrics metrics(Font);
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);

    qsizetype start = 0;
    for (;;) {
        qsizetype end = Text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = Text.size();
        const QString paragraph = Text.sliced(start, end - start).toString();
        const bool moreAfterParagraph = end < Text.size() || MoreFollows;

        QTextLayout layout(paragraph, Font);
        layout.setTextOption(wrapping);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(Width);
            const qsizetype lineEnd = line.textStart() + line.textLength();
            if (lines.size() + 1 < MaxLines) {
                lines << paragraph.sliced(line.textStart(), line.textLength());
                continue;
            }
            // The last line that fits takes the rest of the paragraph.
            const QString rest = paragraph.sliced(line.textStart());
            if (lineEnd < paragraph.size() || moreAfterParagraph)
                // Shortened by Qt, its own "…" replaces the one added here.
                lines << metrics.elidedText(rest + QChar(0x2026), Qt::ElideRight, Width);
            else
                lines << rest;
            layout.endLayout();
            return lines;
        }
        layout.endLayout();
        if (end >= Text.size()) {
            // Text cut short that still left lines to spare.
            if (MoreFollows && !lines.isEmpty())
                lines.last() = metrics.elidedText(lines.last() + QChar(0x2026), Qt::ElideRight, Width);
            return lines;
        }
        start = end + 1;
    }
}
