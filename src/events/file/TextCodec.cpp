#include "TextCodec.h"

#include <QStringDecoder>

#include <array>

namespace {

// 0x80-0x9F of Windows-1252. The five bytes the code page leaves undefined keep
// their C1 control characters, as Windows itself converts them.
constexpr std::array<char16_t, 32> Windows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Every byte maps to one character.
QString decodeWindows1252(std::string_view bytes)
{
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = byte >= 0x80 && byte <= 0x9F ? QChar(Windows1252High[byte - 0x80]) : QChar(byte);
    }
    return text;
}

} // namespace

QString decodeText(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return decodeWindows1252(std::string_view(bytes.data(), static_cast<size_t>(bytes.size())));
}

FileEncoding detectEncoding(std::string_view bytes)
{
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    const auto withoutMark = [&](std::string_view text) {
        return FileEncoding{
            true, text.substr(0, byteOrderMark.size()) == byteOrderMark ? text.substr(byteOrderMark.size()) : text};
    };
    if (view.isValidUtf8())
        return withoutMark(bytes);
    // The decoder waits for the rest of a character that the file ends in the
    // middle of, and counts it as no error: that file is UTF-8 without it.
    QStringDecoder utf8(QStringConverter::Utf8);
    utf8.decode(view);
    if (!utf8.hasError())
        for (size_t cut = 1; cut <= 3 && cut <= bytes.size(); ++cut)
            if (view.first(view.size() - static_cast<qsizetype>(cut)).isValidUtf8())
                return withoutMark(bytes.substr(0, bytes.size() - cut));
    return {false, bytes};
}

QString decodeBytes(std::string_view bytes, bool utf8)
{
    if (!utf8)
        return decodeWindows1252(bytes);
    // A byte-order mark here is inside the text: a character like any other,
    // which QString::fromUtf8 would drop at the start.
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (bytes.substr(0, byteOrderMark.size()) == byteOrderMark)
        return QChar(0xFEFF) + decodeBytes(bytes.substr(byteOrderMark.size()), true);
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QByteArray encodeText(const QString& text)
{
    return text.toUtf8();
}
