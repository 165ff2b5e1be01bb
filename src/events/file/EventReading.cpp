#include "EventReading.h"

#include <algorithm>
#include <cstring>

#include "Escaping.h"
#include "TextCodec.h"

bool hasOnlyCrLfLineEnds(std::string_view Text)
{
    if (Text.empty())
        return true; // an empty view may have no bytes at all to search
    const char* const begin = Text.data();
    const char* const end = begin + Text.size();
    for (const char* at = begin; (at = static_cast<const char*>(std::memchr(at, '\r', size_t(end - at)))); ++at)
        if (at + 1 >= end || at[1] != '\n')
            return false;
    for (const char* at = begin; (at = static_cast<const char*>(std::memchr(at, '\n', size_t(end - at)))); ++at)
        if (at == begin || at[-1] != '\r')
            return false;
    return true;
}

void appendWithCrLfLineEnds(std::string& Out, std::string_view Text)
{
    for (size_t i = 0; i < Text.size(); ++i) {
        const char c = Text[i];
        if (c == '\r' || c == '\n') {
            Out += "\r\n";
            if (c == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n')
                ++i;
        } else {
            Out += c;
        }
    }
}

bool EventReading::utf8(std::string_view Value) const
{
    return FUtf8 || QByteArrayView(Value.data(), static_cast<qsizetype>(Value.size())).isValidUtf8();
}

QString EventReading::text(std::string_view Value)
{
    std::string withCrLf;
    if (!hasOnlyCrLfLineEnds(Value)) {
        appendWithCrLfLineEnds(withCrLf, Value);
        Value = withCrLf;
    }
    const bool isUtf8 = utf8(Value);
    if (!FUtf8) {
        const bool ascii = std::all_of(Value.begin(), Value.end(), [](char c) { return (c & 0x80) == 0; });
        (isUtf8 ? FSawUtf8 : FSawWindows1252) |= !ascii;
    }
    QString text = decodeBytes(Value, isUtf8);
    if (FEscaped && Value.find('&') != std::string_view::npos)
        return unescapeMarkup(text);
    return text;
}

QString EventReading::sharedText(std::string_view Value)
{
    if (!FHasLast || Value != FLastValue) {
        FLastText = text(Value);
        FLastValue = Value;
        FHasLast = true;
    }
    return FLastText;
}
