#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "TestSupport.h"

using namespace testing_support;

namespace {

class HtmlExport : public ::testing::Test {
protected:
    QStringList exportLines(TListViewEventItems& items, const QString& title, const QString& header,
                            const QString& footer)
    {
        list.ExportToHTML(items, title, header, footer, file());
        return QString::fromUtf8(readFile(file())).split("\r\n");
    }
    QString file() const { return folder.filePath("events.html"); }

    QTemporaryDir folder;
    TEventList list;
};

} // namespace

TEST_F(HtmlExport, AnEmptyViewGivesTheFrameOfThePage)
{
    TListViewEventItems items;
    const QString expected =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<html>\r\n<head>\r\n"
        "<title>Quillet - Events</title>\r\n<link rel=\"stylesheet\" type=\"text/css\" href=\"styles.css\">\r\n"
        "</head>\r\n<body>\r\n<table class=\"events\">\r\n"
        "<tr class=\"title\">\r\n<td colspan=4>\r\nMy <b>title</b>\r\n</td>\r\n</tr>\r\n"
        "<tr class=\"header\">\r\n<td colspan=4>\r\nView: Today\r\n</td>\r\n</tr>\r\n"
        "<tr>\r\n<td class=\"ColHeader\">!</td>\r\n<td class=\"ColHeader\">When</td>\r\n"
        "<td class=\"ColHeader\">Event</td>\r\n<td class=\"ColHeader\">Category</td>\r\n</tr>\r\n"
        "<tr class=\"footer\">\r\n<td colspan=4>\r\nnow\r\n<br><a href=\"x\">link</a>\r\n</td>\r\n</tr>\r\n"
        "</table>\r\n</body>\r\n</html>\r\n";
    EXPECT_EQ(exportLines(items, "My <b>title</b>", "View: Today", "now\r\n<br><a href=\"x\">link</a>"),
              expected.split("\r\n"));
}

TEST_F(HtmlExport, RowsComeOutInDateOrderWithTheirCellsEscaped)
{
    TEvent event;
    event.SetStartDate(at(2008, 5, 1, 9, 30));
    event.Description = "Later";
    event.UseTime = true;
    event.RepeatedDates->AddDate(at(2008, 3, 1, 8, 0), false, 0);
    list.AddEvent(event);
    event.SetStartDate(at(2008, 4, 1, 14, 5));
    event.Description = "Dinner\r\nwith <Anna> & Bob\nsame line";
    event.UseTime = false;
    event.Importance = eiHighest;
    event.Enabled = false;
    event.Category = "R&D <team>";
    list.AddEvent(event);
    TListViewEventItems items;
    for (const auto& [eventIndex, dateIndex] : {std::pair{0, -1}, {1, -1}, {0, 0}})
        items.push_back(std::make_unique<TListViewEventItem>(eventIndex, dateIndex));

    const QStringList lines = exportLines(items, "T", "H", "F");
    EXPECT_EQ(rowsOf(items), (Rows{{0, 0}, {1, -1}, {0, -1}})) << "the caller's view is left sorted too";
    const qsizetype firstRow = 8 + 5 + 5 + 6;
    ASSERT_EQ(lines.size(), firstRow + 3 * 14 + 5 + 3 + 1);
    const QStringList expected = {
        "<tr class=\"DisabledRow\">",
        "<td class=\"importance\">",
        "Highest",
        "</td>",
        "<td class=\"when\">",
        formatDateTime("yyyy, dd mmm (ddd)", at(2008, 4, 1)),
        "</td>",
        "<td class=\"event\">",
        "Dinner<br>with &lt;Anna&gt; &amp; Bob\nsame line",
        "</td>",
        "<td class=\"category\">",
        "R&amp;D &lt;team&gt;",
        "</td>",
        "</tr>",
    };
    EXPECT_EQ(lines.mid(firstRow + 14, 14), expected);
    EXPECT_EQ(lines.mid(firstRow, 3),
              (QStringList{"<tr class=\"EnabledRow\">", "<td class=\"importance\">", "Normal"}));
    EXPECT_EQ(lines[firstRow + 5], formatDateTime("yyyy, dd mmm (ddd), t", at(2008, 3, 1, 8, 0)));
    EXPECT_TRUE(lines[firstRow + 5].startsWith("2008, 01 "));
    EXPECT_EQ(lines[firstRow + 2 * 14 + 8], "Later");

    // A row naming no date fails before anything is written.
    writeFile(file(), "old page");
    items.push_back(std::make_unique<TListViewEventItem>(0, 3));
    EXPECT_TRUE(messageOf([&] {
                    list.ExportToHTML(items, "T", "H", "F", file());
                }).startsWith("Exception in: \"TEventList.GetEventViewDateTime\"\r\n"));
    EXPECT_EQ(readFile(file()), "old page");
}
