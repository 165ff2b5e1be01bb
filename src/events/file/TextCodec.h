#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <string_view>

// The files that Quillet writes (the event file, the HTML page) are UTF-8.
// Files of the Windows program are in Windows-1252, so reading takes the bytes
// as UTF-8 when they are valid UTF-8 and as Windows-1252 otherwise. No byte is
// ever lost to a substitute character.

QString decodeText(QByteArrayView bytes);
QByteArray encodeText(const QString& text);

// How decodeText takes a whole file, without decoding it: whether the file is
// UTF-8, and the bytes that its text is made of (without a UTF-8 byte-order
// mark, and without an unfinished UTF-8 character at the very end).
struct FileEncoding {
    bool Utf8 = true;
    std::string_view Bytes;
};
FileEncoding detectEncoding(std::string_view bytes);

// Part of a file's bytes as text.
QString decodeBytes(std::string_view bytes, bool utf8);
