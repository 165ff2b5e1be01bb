#pragma once

#include <QByteArrayView>

#include <sys/types.h>

class QIODevice;
class QSaveFile;

// Writes all of Bytes to File. A write the system cuts short (a full disk) sets
// no error, so the rest is written again until a write fails with the reason,
// which File's errorString() then holds. False when not all of Bytes was written.
bool writeWhole(QIODevice& File, QByteArrayView Bytes);

// Commits File and gives the file its name now holds Mode back when Mode has no
// write for the owner: the rename gives it the owner's write (root writes a
// read-only file), and the file should stay as closed as it was meant to be.
bool commitWithMode(QSaveFile& File, mode_t Mode);
