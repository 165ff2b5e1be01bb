#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "events/EventList.h"
#include "events/Exceptions.h"

using testing_support::at;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

const QStringList PageStart = {
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">",
    "<html>",
    "<head>",
    "<title>Quillet - Events</title>",
    "<link rel=\"stylesheet\" type=\"text/css\" href=\"styles.css\">",
    "</head>",
    "<body>",
    "<table class=\"events\">",
};

class HtmlExport : public ::testing::Test {
protected:
    int add(TDateTime start, const QString& description, bool useTime = true)
    {
        TEvent event;
        event.SetStartDate(start);
        event.Description = description;
        event.UseTime = useTime;
        event.Category = QStringLiteral("General");
        return list.AddEvent(event);
    }
    QStringList exportLines(TListViewEventItems& items, const QString& title = QStringLiteral("T"),
                            const QString& header = QStringLiteral("H"), const QString& footer = QStringLiteral("F"))
    {
        list.ExportToHTML(items, title, header, footer, file());
        const QByteArray bytes = readFile(file());
        EXPECT_TRUE(bytes.endsWith("</html>\r\n"));
        return QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
    }
    QString file() const { return folder.filePath("events.html"); }

    QTemporaryDir folder;
    TEventList list;
};

TListViewEventItems rows(std::initializer_list<std::pair<int, int>> indexes)
{
    TListViewEventItems items;
    for (const auto& [event, date] : indexes)
        items.push_back(std::make_unique<TListViewEventItem>(event, date));
    return items;
}

} // namespace

TEST_F(HtmlExport, AnEmptyViewGivesTheFrameOfThePage)
{
    TListViewEventItems items;
    QStringList expected = PageStart;
    expected << "<tr class=\"title\">"
             << "<td colspan=4>"
             << "My <b>title</b>"
             << "</td>"
             << "</tr>"
             << "<tr class=\"header\">"
             << "<td colspan=4>"
             << "View: Today"
             << "</td>"
             << "</tr>"
             << "<tr>"
             << "<td class=\"ColHeader\">!</td>"
             << "<td class=\"ColHeader\">When</td>"
             << "<td class=\"ColHeader\">Event</td>"
             << "<td class=\"ColHeader\">Category</td>"
             << "</tr>"
             << "<tr class=\"footer\">"
             << "<td colspan=4>"
             << "now"
             << "<br><a href=\"x\">link</a>"
             << "</td>"
             << "</tr>"
             << "</table>"
             << "</body>"
             << "</html>"
             << "";
    EXPECT_EQ(exportLines(items, "My <b>title</b>", "View: Today", "now\r\n<br><a href=\"x\">link</a>"), expected);
}

TEST_F(HtmlExport, RowsComeOutInDateOrderWithTheirCells)
{
    add(at(2008, 5, 1, 9, 30), QStringLiteral("Later"));
    add(at(2008, 4, 1, 14, 5), QStringLiteral("Dinner\r\nwith <Anna> & Bob\nsame line"), false);
    list.GetEvent(1)->Importance = eiHighest;
    list.GetEvent(1)->Enabled = false;
    list.GetEvent(1)->Category = QStringLiteral("R&D <team>");
    list.GetEvent(0)->RepeatedDates->AddDate(at(2008, 3, 1, 8, 0), false, 0);
    TListViewEventItems items = rows({{0, -1}, {1, -1}, {0, 0}});

    const QStringList lines = exportLines(items);
    // The caller's view is left sorted too.
    EXPECT_EQ(items[0]->EventIndex, 0);
    EXPECT_EQ(items[0]->DateIndex, 0);
    EXPECT_EQ(items[1]->EventIndex, 1);
    EXPECT_EQ(items[2]->DateIndex, -1);

    const qsizetype firstRow = PageStart.size() + 5 + 5 + 6;
    ASSERT_EQ(lines.size(), firstRow + 3 * 14 + 5 + 3 + 1);
    const QStringList disabled = lines.mid(firstRow + 14, 14);
    const QStringList expected = {
        "<tr class=\"DisabledRow\">",
        "<td class=\"importance\">",
        "Highest",
        "</td>",
        "<td class=\"when\">",
        formatDateTime(QStringLiteral("yyyy, dd mmm (ddd)"), at(2008, 4, 1)),
        "</td>",
        "<td class=\"event\">",
        "Dinner<br>with &lt;Anna&gt; &amp; Bob\nsame line",
        "</td>",
        "<td class=\"category\">",
        "R&amp;D &lt;team&gt;",
        "</td>",
        "</tr>",
    };
    EXPECT_EQ(disabled, expected);
    EXPECT_EQ(lines[firstRow], QStringLiteral("<tr class=\"EnabledRow\">"));
    EXPECT_EQ(lines[firstRow + 2], QStringLiteral("Normal"));
    EXPECT_EQ(lines[firstRow + 5], formatDateTime(QStringLiteral("yyyy, dd mmm (ddd), t"), at(2008, 3, 1, 8, 0)));
    EXPECT_TRUE(lines[firstRow + 5].startsWith(QStringLiteral("2008, 01 ")));
    EXPECT_EQ(lines[firstRow + 2 * 14 + 8], QStringLiteral("Later"));
}

TEST_F(HtmlExport, ARowNamingNoDateFailsBeforeAnythingIsWritten)
{
    add(at(2008, 5, 1), QStringLiteral("Only"));
    writeFile(file(), "old page");
    TListViewEventItems items = rows({{0, -1}, {0, 3}});
    try {
        list.ExportToHTML(items, "T", "H", "F", file());
        ADD_FAILURE();
    } catch (const QuilletError& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Exception in: \"TEventList.GetEventViewDateTime\"\r\n")))
            << e.message().toStdString();
    }
    EXPECT_EQ(readFile(file()), QByteArray("old page"));
}
