#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The files that Quillet writes (the event file, the HTML page) are UTF-8.
// Files of the Windows program are in Windows-1252, so reading takes the bytes
// as UTF-8 when they are valid UTF-8 and as Windows-1252 otherwise. No byte is
// ever lost to a substitute character.

QString decodeText(QByteArrayView bytes);
QByteArray encodeText(const QString& text);
