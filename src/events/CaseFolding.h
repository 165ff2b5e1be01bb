#pragma once

#include <QString>

// Text with each character folded as QString::compare with Qt::CaseInsensitive
// folds it: two texts are equal there exactly when these are equal, so names
// that ignore letter case can be looked up in a hash.
QString caseFolded(const QString& Text);
