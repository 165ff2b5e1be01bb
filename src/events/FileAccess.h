#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Whole-file reading and writing for the event file and the HTML page. Both
// raise EFileError with the file system's reason.

QByteArray readWholeFile(const QString& FileName);

// Replaces the file in one step: the bytes go to a temporary file in the same
// folder, which is flushed and then renamed over the old file. A failure at
// any point leaves the old file as it was.
void writeFileAtomically(const QString& FileName, QByteArrayView Bytes);
