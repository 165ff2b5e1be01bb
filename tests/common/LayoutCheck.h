#pragma once

// Checks that a window's widgets keep their places under any style, font and
// palette: nothing drawn over anything else, nothing cut by its parent.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPalette>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

class QWidget;

namespace testing_support {

// Two sibling widgets, by object name, that overlap by design.
struct IntendedOverlap {
    QString first;
    QString second;
};

// One line per fault among the window's visible widgets: a widget that reaches
// outside its parent, two siblings that overlap (unless the pair is in intended),
// a label, button, check box or number box smaller than its text needs, a cell
// of a view without scroll bars that the view cuts off. What a scroll area
// scrolls may reach outside its viewport; its own children are still checked.
std::string layoutFaults(const QWidget& window, const std::vector<IntendedOverlap>& intended = {});

// Fusion, a 16 px font and a dark palette for the whole application while it
// lives, as a desktop theme (qt6ct) sets them; the earlier look comes back after.
class DarkLargeLook {
public:
    DarkLargeLook();
    ~DarkLargeLook();
    DarkLargeLook(const DarkLargeLook&) = delete;
    DarkLargeLook& operator=(const DarkLargeLook&) = delete;

private:
    QString FStyle;
    QFont FFont;
    QPalette FPalette;
};

// The contrast ratio of two colours as the web's accessibility rules define it:
// 1 for equal colours up to 21 for black on white.
double contrastRatio(const QColor& a, const QColor& b);

// The strongest contrast of any pixel of the area of the picture against the
// background: what the clearest text, line or mark drawn there stands out by.
double strongestContrast(const QImage& picture, const QRect& area, const QColor& background);

// Saves the widget's picture as quillet-layout-<name>.png in the temporary folder, for a look.
QString savePicture(QWidget& widget, const QString& name);

} // namespace testing_support
