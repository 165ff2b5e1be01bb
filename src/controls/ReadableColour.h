#pragma once

#include <QColor>

// The contrast ratio of two colours as the web's accessibility rules define it:
// 1 for equal colours up to 21 for black on white.
double contrastRatio(const QColor& A, const QColor& B);

// Colour when text in it reads well on Background (at least MinimumContrast);
// else the same hue at the mirrored lightness, lighter on a dark background or
// darker on a light one, and further only as far as it takes.
QColor readableOn(const QColor& Colour, const QColor& Background, double MinimumContrast = 4.5);
