// The month calendar: its date grid, selection rules, mouse handling and look.
#include <QTest>

#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "TestSupport.h"
#include "controls/CalendarX.h"
#include "events/Exceptions.h"

using namespace controls_test;
using testing_support::at;

namespace {

// A calendar at the calendar strip's size, showing September 2024 with today, the
// 18th, selected; its notifications go to log.
class CalendarXTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        calendar.OnDateChanged = [this](QObject* s) { log.push_back(s == &calendar ? "date" : "wrong sender"); };
        calendar.OnMonthChanged = [this](QObject*) { log.push_back("month"); };
        calendar.OnDblClickDate = [this](QObject*) { log.push_back("double"); };
        calendar.resize(218, 180);
        calendar.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&calendar));
    }
    void TearDown() override { dismissOpenMenu(); }

    QRect cell(int col, int row) const
    {
        return QRect(col * calendar.GetColWidth(), calendar.GetHeaderHeight() + row * calendar.GetRowHeight(),
                     calendar.GetColWidth(), calendar.GetRowHeight());
    }
    QPoint title(int x) const { return QPoint(x, calendar.GetTitleHeight() / 2); }
    void click(QPoint pos, Qt::MouseButton button = Qt::LeftButton) { QTest::mouseClick(&calendar, button, {}, pos); }
    // What a user's double click delivers: press, release, double-click press, release.
    void doubleClick(QPoint pos)
    {
        click(pos);
        QTest::mouseDClick(&calendar, Qt::LeftButton, {}, pos);
        QTest::mouseRelease(&calendar, Qt::LeftButton, {}, pos);
    }

    testing_support::ClockOverride clock{at(2024, 9, 18, 10, 30)}; // before the calendar: it starts on today
    TCalendarX calendar;
    Log log;
};

// The 1st on each weekday (its cell, Monday 1 to Sunday 7), a leap February, and
// the day count's origin month and the first month there is.
TEST_F(CalendarXTest, GridStartsOnTheSundayBeforeTheFirstAndRunsDayByDay)
{
    const int months[][3] = {{2024, 7, 1}, {2024, 10, 2}, {2025, 1, 3}, {2024, 2, 4},  {2024, 11, 5},
                             {2025, 3, 6}, {2024, 9, 7},  {2026, 2, 7}, {1899, 12, 5}, {1, 1, 1}};
    for (const auto& [year, month, first] : months) {
        calendar.SetSelectedMonth(at(year, month, 15, 9, 30));
        for (int i = 0; i < 42; ++i)
            ASSERT_EQ(calendar.GetCellDate(i % 7, i / 7), at(year, month, 1) + (i - first))
                << year << "-" << month << " cell " << i;
    }
}

// While SetSelectedDate repaints, a paint handler's selection is ignored; during an
// ordinary paint it is taken.
TEST_F(CalendarXTest, PaintHandlerCannotReenterTheSelectionItRepaintsFor)
{
    int cellsPainted = 0;
    calendar.OnBeforePaintDayBG = [&](QObject*, TDateTime, QColor&, TFontStyles&) {
        ++cellsPainted;
        calendar.SetSelectedDate(at(2024, 9, 25));
    };
    calendar.SetSelectedDate(at(2024, 9, 10, 17, 45));
    EXPECT_EQ(cellsPainted, 42) << "the new selection is painted at once";
    EXPECT_EQ(calendar.SelectedDate(), at(2024, 9, 10)) << "the day only";
    EXPECT_EQ(log, (Log{"date"}));

    calendar.repaint();
    EXPECT_EQ(calendar.SelectedDate(), at(2024, 9, 25));
}

TEST_F(CalendarXTest, OwnersFailuresAreReportedNotThrownThroughQt)
{
    ReportCollector reports;
    calendar.OnDblClickDate = [](QObject*) { throw QuilletError(QStringLiteral("cannot add")); };
    doubleClick(cell(1, 1).center());
    // A paint cannot show a message box: its failure is reported after it, once.
    calendar.OnBeforePaintDayBG = [](QObject*, TDateTime, QColor&, TFontStyles&) {
        throw QuilletError(QStringLiteral("no events"));
    };
    calendar.grab();
    calendar.grab();
    EXPECT_EQ(reports.texts, QStringList{QStringLiteral("cannot add")});
    QApplication::processEvents();
    EXPECT_EQ(reports.texts, (QStringList{QStringLiteral("cannot add"), QStringLiteral("no events")}));
}

// A double click delivers a click first: the day is selected twice, then reported.
TEST_F(CalendarXTest, ClickSelectsTheDayUnderTheMouseAndDoubleClickReportsIt)
{
    click(cell(4, 2).center(), Qt::RightButton); // any button
    EXPECT_EQ(calendar.SelectedDate(), at(2024, 9, 12));
    click(cell(0, 0).topLeft() + QPoint(0, 1)); // the grid's first pixel, a grey day
    EXPECT_EQ(calendar.SelectedDate(), at(2024, 8, 25));

    // The day names, their bottom edge, the strips right of and below the grid, the title.
    const int header = calendar.GetHeaderHeight();
    for (QPoint outside : {QPoint(40, header - 3), QPoint(40, header), QPoint(7 * calendar.GetColWidth(), 100),
                           cell(1, 6).topLeft(), title(150)})
        click(outside);
    EXPECT_EQ(openMenu(), nullptr) << "between the title's texts";
    EXPECT_EQ(calendar.SelectedDate(), at(2024, 8, 25));

    doubleClick(cell(2, 4).center()); // Tuesday the 24th
    EXPECT_EQ(calendar.SelectedDate(), at(2024, 9, 24));
    doubleClick(cell(1, 6).topLeft()); // below the grid the owner still hears of it
    EXPECT_EQ(log, (Log{"date", "date", "date", "date", "double", "double"}));
}

// The menus open where the title's texts were last painted; a month the selected
// day lacks gives its last day.
TEST_F(CalendarXTest, TitleMenusOpenOnceItHasBeenPaintedAndChooseMonthOrYear)
{
    TCalendarX unpainted;
    unpainted.resize(218, 180);
    for (int x : {5, 213})
        QTest::mouseClick(&unpainted, Qt::LeftButton, {}, title(x));
    EXPECT_EQ(openMenu(), nullptr);
    QTest::mouseClick(&unpainted, Qt::LeftButton, {}, cell(0, 0).center());
    EXPECT_EQ(unpainted.SelectedDate(), at(2024, 8, 25)) << "its clicks do arrive";

    calendar.SetSelectedMonth(at(9996, 1, 31, 8, 15));
    calendar.repaint();
    click(title(5));
    ASSERT_EQ(openMenu(), calendar.findChild<QMenu*>("FMonthMenu"));
    EXPECT_EQ(captions(openMenu()), QStringLiteral("January February March April May June July August September "
                                                   "October November December"));
    choose(QStringLiteral("February"));
    EXPECT_EQ(calendar.SelectedMonth(), at(9996, 2, 29, 8, 15));
    calendar.SetSelectedMonth(at(9996, 2, 1)); // the month shown: nothing changes
    EXPECT_EQ(log, (Log{"month", "month"}));
    click(title(213));
    ASSERT_EQ(openMenu(), calendar.findChild<QMenu*>("FYearMenu"));
    EXPECT_EQ(captions(openMenu()), QStringLiteral("9991 9992 9993 9994 9995 9996 9997 9998 9999 10000 10001"));
    EXPECT_TRUE(openMenu()->actions()[8]->isEnabled()) << "9999";
    EXPECT_FALSE(openMenu()->actions()[9]->isEnabled()) << "10000 cannot be shown";
}

// How many pixels in rect are darker than level (0 black, 255 white).
int darkerThan(const QImage& image, const QRect& rect, int level)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += qGray(image.pixel(x, y)) < level;
    return count;
}

// In the calendar strip's colours; the pictures are written for a human to look at.
TEST_F(CalendarXTest, LooksLikeTheStripWithGreyDaysHighlightRingAndMarks)
{
    const QRgb SkyBlue = 0xFFA6CAF0, LightGrey = 0xFFE4E4E4, Pale = 0xFFFFF4C8;
    calendar.SetTitleBG(SkyBlue);
    calendar.SetTitleFG(Qt::black);
    calendar.SetHighlightBGColour(SkyBlue);
    calendar.SetHighlightFGColour(Qt::black);
    calendar.SetWeekendBGColour(LightGrey);
    const QImage plain = screenshot(calendar, QStringLiteral("calendar-september-2024"));

    EXPECT_EQ(plain.pixel(1, 1), SkyBlue) << "title bar";
    EXPECT_EQ(plain.pixel(1, calendar.GetTitleHeight() + 1), LightGrey) << "the Sun heading";
    // Row 0 is the last week of August and row 5 starts October: grey.
    for (const QRect& grey : {cell(3, 0), cell(3, 5)})
        EXPECT_TRUE(darkerThan(plain, grey, 0xC0 + 16) > 0 && darkerThan(plain, grey, 0xC0 - 16) == 0) << grey.y();
    // Today, Wednesday the 18th, is highlighted and ringed in red.
    const QRect today = cell(3, 3);
    EXPECT_EQ(plain.pixel(today.center().x(), today.top() + 3), SkyBlue) << "highlight";
    const QRgb ring = plain.pixel(today.left() + 1, today.center().y());
    EXPECT_TRUE(qRed(ring) > 200 && qGreen(ring) < 120) << "today's ring is red";

    // Every day asked to be pale yellow; a weekday, a Saturday and the selected day marked.
    calendar.OnBeforePaintDayBG = [&](QObject*, TDateTime date, QColor& colour, TFontStyles& styles) {
        colour = QColor(Pale);
        if (date == at(2024, 9, 3) || date == at(2024, 9, 7) || date == at(2024, 9, 18))
            styles = fsBold | fsUnderline;
    };
    const QImage marked = screenshot(calendar, QStringLiteral("calendar-september-2024-marked"));
    EXPECT_EQ(marked.pixel(cell(3, 1).topLeft() + QPoint(1, 1)), Pale) << "Wednesday the 4th: the weekday colour";
    EXPECT_EQ(marked.pixel(cell(6, 1).topLeft() + QPoint(1, 1)), LightGrey) << "weekends keep their colour";
    EXPECT_EQ(marked.pixel(today.center().x(), today.top() + 3), SkyBlue) << "the selected day keeps its highlight";
    for (const QRect& bold : {cell(2, 1), cell(6, 1), today})
        EXPECT_GT(darkerThan(marked, bold, 128), darkerThan(plain, bold, 128) + 10) << "marked day at " << bold.x();
    EXPECT_EQ(darkerThan(marked, cell(4, 1), 128), darkerThan(plain, cell(4, 1), 128)) << "the 5th";
}

} // namespace
