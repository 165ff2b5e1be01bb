#pragma once

#include <QStringList>
#include <QStringView>

class QFont;

// The lines a cell of Width pixels shows of Text in Font: broken at line feeds and
// wrapped at word boundaries (inside a word only where it is wider than a line), at
// most MaxLines of them. When text remains after the last of them (in Text, or
// beyond its end when MoreFollows), that line takes as much of the rest as fits
// and ends with "…". A Width of 0 or less shows nothing.
QStringList wrappedLines(QStringView Text, bool MoreFollows, const QFont& Font, int Width, int MaxLines);
