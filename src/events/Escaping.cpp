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
