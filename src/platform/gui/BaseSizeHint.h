#pragma once

// At a scale factor (QT_SCALE_FACTOR, or a QT_FONT_DPI above 96) Qt tells the window
// manager that each window resizes in steps of the scale from a base size of -1 x -1
// times the scale. Fluxbox takes the negative base for a huge one and makes a window
// that has a minimum size and a place of its own 65534 pixels square, whose pixels
// take gigabytes. From this call on, every window of the running application says
// that its sizes count from 0 x 0, as Qt does without a scale.
void keepBaseSizeHintsValid();
