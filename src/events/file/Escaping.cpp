#include "Escaping.h"

#include <algorithm>

QString escapeMarkup(QStringView Text)
{
    const auto needsEscape = [](QChar c) { return c == u'&' || c == u'<' || c == u'>'; };
    if (std::none_of(Text.begin(), Text.end(), needsEscape))
        return Text.toString();
    QString result;
    result.reserve(Text.size());
    for (const QChar c : Text) {
        if (c == u'&')
            result += QLatin1StringView("&amp;");
        else if (c == u'<')
            result += QLatin1StringView("&lt;");
        else if (c == u'>')
            result += QLatin1StringView("&gt;");
        else
            result += c;
    }
    return result;
}

QString unescapeMarkup(QStringView Text)
{
    static constexpr struct {
        QLatin1StringView entity;
        QChar character;
    } entities[] = {
        {QLatin1StringView("&amp;"), u'&'}, {QLatin1StringView("&lt;"), u'<'}, {QLatin1StringView("&gt;"), u'>'}};

    if (!Text.contains(u'&'))
        return Text.toString();
    QString result;
    result.reserve(Text.size());
    for (qsizetype i = 0; i < Text.size(); ++i) {
        if (Text[i] == u'&') {
            bool replaced = false;
            for (const auto& e : entities)
                if (Text.mid(i).startsWith(e.entity)) {
                    result += e.character;
                    i += e.entity.size() - 1;
                    replaced = true;
                    break;
                }
            if (replaced)
                continue;
        }
        result += Text[i];
    }
    return result;
}

void appendEscapedUtf8(std::string& Out, QStringView Text)
{
    const char16_t* at = reinterpret_cast<const char16_t*>(Text.utf16());
    const char16_t* const end = at + Text.size();
    for (; at < end; ++at) {
        const char32_t c = *at;
        if (c < 0x80) {
            if (c == '&')
                Out += "&amp;";
            else if (c == '<')
                Out += "&lt;";
            else if (c == '>')
                Out += "&gt;";
            else
                Out += static_cast<char>(c);
        } else if (c < 0x800) {
            Out += static_cast<char>(0xC0 | (c >> 6));
            Out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            if (c <= 0xDBFF && at + 1 < end && at[1] >= 0xDC00 && at[1] <= 0xDFFF) {
                const char32_t full = 0x10000 + ((c - 0xD800) << 10) + (at[1] - 0xDC00);
                ++at;
                Out += static_cast<char>(0xF0 | (full >> 18));
                Out += static_cast<char>(0x80 | ((full >> 12) & 0x3F));
                Out += static_cast<char>(0x80 | ((full >> 6) & 0x3F));
                Out += static_cast<char>(0x80 | (full & 0x3F));
            } else {
                Out += '?';
            }
        } else {
            Out += static_cast<char>(0xE0 | (c >> 12));
            Out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            Out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
}
