#pragma once

#include <QByteArrayView>

class QIODevice;

// Writes all of Bytes to File. A write the system cuts short (a full disk) sets
// no error, so the rest is written again until a write fails with the reason,
// which File's errorString() then holds. False when not all of Bytes was written.
bool writeWhole(QIODevice& File, QByteArrayView Bytes);
