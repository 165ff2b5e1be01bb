#pragma once

// Checks that a window's widgets keep their places under any style, font and palette.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPalette>
#include <QString>
#include <QStringList>

#include <array>
#include <string>
#include <vector>

class QWidget;

namespace testing_support {

// Two sibling widgets, by object name, that overlap by design.
struct IntendedOverlap {
    QString first;
    QString second;
};

// One line per fault of a visible widget: outside its parent (unless scrolled), over a
// sibling (unless intended), smaller than its text, or a view's cell cut off along a side
// that view cannot scroll.
std::string layoutFaults(const QWidget& window, const std::vector<IntendedOverlap>& intended = {});

// The large desktop fonts a window must fit, in pixels: 12 pt and 14 pt.
inline constexpr std::array<int, 2> LargeFontPixels = {16, 19};

// Fusion, a large font and a dark palette while it lives, as a desktop theme sets them.
class DarkLargeLook {
public:
    explicit DarkLargeLook(int FontPixels = 16);
    ~DarkLargeLook();
    DarkLargeLook(const DarkLargeLook&) = delete;
    DarkLargeLook& operator=(const DarkLargeLook&) = delete;

private:
    QString FStyle;
    QFont FFont;
    QPalette FPalette;
};

// The web's accessibility contrast ratio: 1 for equal colours up to 21 for black on white.
double contrastRatio(const QColor& a, const QColor& b);

// The strongest contrast of any pixel of the area against the background.
double strongestContrast(const QImage& picture, const QRect& area, const QColor& background);

// Saves the widget's picture as quillet-layout-<name>.png in the temporary folder, for a look.
QString savePicture(QWidget& widget, const QString& name);

} // namespace testing_support
