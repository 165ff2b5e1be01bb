#pragma once

#include <QString>
#include <QStringList>

// How text copied from another program becomes a new event's title and notes.

// The lines of the text up to its first zero character, split at CR LF, CR or LF;
// a final line break adds no empty line. No lines for an empty text.
QStringList capturedLines(const QString& Text);
// The first line cut to 50 characters, followed by "..." when it was longer.
QString capturedTitle(const QStringList& Lines);
// Every line followed by CR LF.
QString capturedNotes(const QStringList& Lines);
