#include "CapturedText.h"

#include <QRegularExpression>
#include <QTextBoundaryFinder>

namespace {

constexpr int TitleLength = 50;

} // namespace

QStringList capturedLines(const QString& Text)
{
    QString text = Text.left(Text.indexOf(QChar(0)));
    if (text.isEmpty())
        return {};
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineBreak);
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// Counted in characters as the reader sees them, so no character is ever split
// (a letter with its accent, a symbol outside the basic plane).
QString capturedTitle(const QStringList& Lines)
{
    const QString line = Lines.value(0);
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, line);
    int count = 0;
    qsizetype end = 0;
    while (count < TitleLength && (end = characters.toNextBoundary()) >= 0)
        ++count;
    if (count < TitleLength || characters.toNextBoundary() < 0)
        return line;
    return line.left(end) + QStringLiteral("...");
}

QString capturedNotes(const QStringList& Lines)
{
    QString notes;
    for (const QString& line : Lines)
        notes += line + QStringLiteral("\r\n");
    return notes;
}
