#include "events/EventList.h"

#include <QStringList>

#include "Escaping.h"
#include "FileAccess.h"
#include "TextCodec.h"
#include "events/WhenText.h"
#include "platform/GetText.h"

namespace {

// A row of the table that spans its four columns.
void addWideRow(QStringList& Lines, const QString& RowClass, const QString& Text)
{
    Lines << QStringLiteral("<tr class=\"%1\">").arg(RowClass) << QStringLiteral("<td colspan=4>") << Text
          << QStringLiteral("</td>") << QStringLiteral("</tr>");
}

void addCell(QStringList& Lines, const char* CellClass, const QString& Text)
{
    Lines << QStringLiteral("<td class=\"%1\">").arg(QLatin1StringView(CellClass)) << Text << QStringLiteral("</td>");
}

// The event's own texts are escaped so they show as written; the line breaks
// of a description become "<br>".
QString descriptionCell(const QString& Description)
{
    return escapeMarkup(Description).replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
}

} // namespace

void TEventList::ExportToHTML(TListViewEventItems& Items, const QString& Title, const QString& Header,
                              const QString& Footer, const QString& FileName) const
{
    // The sort reads every row's date: a row that names no occurrence fails
    // here, before anything is written.
    SortEventView(Items);

    QStringList lines;
    lines << QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">")
          << QStringLiteral("<html>") << QStringLiteral("<head>") << QStringLiteral("<title>Quillet - Events</title>")
          << QStringLiteral("<link rel=\"stylesheet\" type=\"text/css\" href=\"styles.css\">")
          << QStringLiteral("</head>") << QStringLiteral("<body>") << QStringLiteral("<table class=\"events\">");
    addWideRow(lines, QStringLiteral("title"), Title);
    addWideRow(lines, QStringLiteral("header"), Header);
    lines << QStringLiteral("<tr>") << QStringLiteral("<td class=\"ColHeader\">!</td>");
    for (const char* heading : {N_("When"), N_("Event"), N_("Category")})
        lines << QStringLiteral("<td class=\"ColHeader\">") + _(heading) + QStringLiteral("</td>");
    lines << QStringLiteral("</tr>");

    for (const auto& item : Items) {
        if (!item)
            continue;
        const TEvent* event = GetEvent(item->EventIndex);
        const TDateTime when = GetEventViewDateTime(item.get());
        lines << (event->Enabled ? QStringLiteral("<tr class=\"EnabledRow\">")
                                 : QStringLiteral("<tr class=\"DisabledRow\">"));
        addCell(lines, "importance", event->GetImportanceText());
        addCell(lines, "when", formatWhen(*event, when));
        addCell(lines, "event", descriptionCell(event->Description));
        addCell(lines, "category", escapeMarkup(event->Category));
        lines << QStringLiteral("</tr>");
    }

    addWideRow(lines, QStringLiteral("footer"), Footer);
    lines << QStringLiteral("</table>") << QStringLiteral("</body>") << QStringLiteral("</html>");

    // The page declares no encoding: the byte-order mark keeps a browser opening
    // the local file from taking its UTF-8 for another code page.
    writeFileAtomically(FileName, QByteArrayLiteral("\xEF\xBB\xBF") +
                                      encodeText(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
}
