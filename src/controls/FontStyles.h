#pragma once

#include <QFlags>
#include <QFont>

#include <cstdint>

// The styles a control's owner may give a piece of text.
enum TFontStyle : std::uint8_t { fsBold = 0x1, fsItalic = 0x2, fsUnderline = 0x4, fsStrikeOut = 0x8 };
Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
Q_DECLARE_OPERATORS_FOR_FLAGS(TFontStyles)

// Sets or clears bold, italic, underline and strike-out on font to match styles.
void applyFontStyles(QFont& font, TFontStyles styles);

// Arial at a size in pixels, the font the program's windows are drawn in.
QFont arialFont(int pixelSize, TFontStyles styles = {});

// Lucida Console at a size in pixels, or the first monospaced font of this system
// that stands in for it.
QFont consoleFont(int pixelSize);
