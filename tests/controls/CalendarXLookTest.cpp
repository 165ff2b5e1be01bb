// What the calendar looks like: each test renders a calendar at the main window's
// size, saves the picture for a human to look at and checks the pixels that matter.
#include <QImage>

#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "TestSupport.h"
#include "controls/CalendarX.h"

using controls_test::sameColour;
using controls_test::screenshot;
using testing_support::at;
using testing_support::ClockOverride;

namespace {

const QColor SkyBlue(0xA6, 0xCA, 0xF0);
const QColor LightGrey(0xE4, 0xE4, 0xE4);
const QColor Grey(0xC0, 0xC0, 0xC0);
const QColor White(0xFF, 0xFF, 0xFF);
const QColor Pale(0xFF, 0xF4, 0xC8);

// A calendar dressed as the main window's calendar strip dresses it.
void dressAsStrip(TCalendarX& calendar)
{
    calendar.resize(218, 180);
    calendar.SetTitleBG(SkyBlue);
    calendar.SetTitleFG(Qt::black);
    calendar.SetHighlightBGColour(SkyBlue);
    calendar.SetHighlightFGColour(Qt::black);
    calendar.SetWeekendBGColour(LightGrey);
}

QRect cellRect(const TCalendarX& calendar, int col, int row)
{
    return QRect(col * calendar.GetColWidth(), calendar.GetHeaderHeight() + row * calendar.GetRowHeight(),
                 calendar.GetColWidth(), calendar.GetRowHeight());
}

// The darkest grey level of the text in a cell (0 black, 255 white).
int darkestIn(const QImage& image, const QRect& rect)
{
    int darkest = 255;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
    return darkest;
}

int darkPixels(const QImage& image, const QRect& rect)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += qGray(image.pixel(x, y)) < 128;
    return count;
}

class CalendarXLook : public ::testing::Test {
protected:
    ClockOverride clock{at(2024, 9, 18, 10, 30)};
};

TEST_F(CalendarXLook, MonthStartingOnSundayInTheStripsColours)
{
    TCalendarX calendar;
    dressAsStrip(calendar);
    calendar.SetSelectedMonth(at(2024, 9, 1));
    calendar.SetSelectedDate(at(2024, 9, 10));
    const QImage image = screenshot(calendar, QStringLiteral("calendar-september-2024-strip"));

    ASSERT_EQ(image.size(), QSize(218, 180));
    EXPECT_TRUE(sameColour(image.pixel(1, 1), SkyBlue)) << "title bar";
    EXPECT_TRUE(sameColour(image.pixel(217, calendar.GetTitleHeight() - 1), SkyBlue)) << "title bar's far corner";
    EXPECT_TRUE(sameColour(image.pixel(1, calendar.GetTitleHeight() + 1), LightGrey)) << "the Sun heading";
    EXPECT_TRUE(sameColour(image.pixel(6 * 31 + 1, calendar.GetTitleHeight() + 1), LightGrey)) << "the Sat heading";
    EXPECT_TRUE(sameColour(image.pixel(31 + 1, calendar.GetTitleHeight() + 1), White)) << "the Mon heading";

    // Row 0 is the whole last week of August, in grey; the 1st opens row 1.
    for (int col = 1; col < 6; ++col) {
        const QRect cell = cellRect(calendar, col, 0);
        EXPECT_TRUE(sameColour(image.pixel(cell.left() + 1, cell.top() + 1), White));
        EXPECT_NEAR(darkestIn(image, cell), Grey.red(), 24) << "August day in column " << col;
    }
    EXPECT_LT(darkestIn(image, cellRect(calendar, 0, 1)), 60) << "the 1st is black";
    const QRect saturday = cellRect(calendar, 6, 1);
    EXPECT_TRUE(sameColour(image.pixel(saturday.left() + 1, saturday.top() + 1), LightGrey));

    // The 10th (Tuesday, row 2) is highlighted; today, the 18th (Wednesday, row 3), is ringed.
    const QRect selected = cellRect(calendar, 2, 2);
    EXPECT_TRUE(sameColour(image.pixel(selected.left() + 4, selected.center().y()), SkyBlue)) << "highlight";
    EXPECT_TRUE(sameColour(image.pixel(selected.left(), selected.top()), White)) << "rounded corner";
    const QRect today = cellRect(calendar, 3, 3);
    const QRgb ring = image.pixel(today.left() + 1, today.center().y());
    EXPECT_GT(qRed(ring), 200);
    EXPECT_LT(qGreen(ring), 120) << "today's ring is red";
}

TEST_F(CalendarXLook, SelectedTodayUnderTheRingWithMarkedDays)
{
    TCalendarX calendar;
    dressAsStrip(calendar);
    calendar.SetSelectedMonth(at(2024, 9, 1));
    calendar.SetSelectedDate(at(2024, 9, 18));
    const QImage plain = screenshot(calendar, QStringLiteral("calendar-september-2024-unmarked"));

    // Wednesdays pale yellow; the 3rd, 7th (a Saturday), 18th (selected) and 30th marked.
    calendar.OnBeforePaintDayBG = [](QObject*, TDateTime date, QColor& colour, TFontStyles& styles) {
        if (dayOfTheWeek(date) == 3)
            colour = Pale;
        int year = 0, month = 0, day = 0;
        decodeDate(date, year, month, day);
        if (month == 9 && (day == 3 || day == 7 || day == 18 || day == 30))
            styles = fsBold | fsUnderline;
    };
    const QImage image = screenshot(calendar, QStringLiteral("calendar-september-2024-marked"));

    const QRect wednesday = cellRect(calendar, 3, 1); // the 4th
    EXPECT_TRUE(sameColour(image.pixel(wednesday.left() + 1, wednesday.top() + 1), Pale)) << "weekday colour";
    const QRect saturday = cellRect(calendar, 6, 1); // the 7th
    EXPECT_TRUE(sameColour(image.pixel(saturday.left() + 1, saturday.top() + 1), LightGrey))
        << "weekends keep their colour";
    const QRect selected = cellRect(calendar, 3, 3); // the 18th, today
    EXPECT_TRUE(sameColour(image.pixel(selected.center().x(), selected.top() + 3), SkyBlue))
        << "the selected day keeps its highlight";
    EXPECT_GT(qRed(image.pixel(selected.left() + 1, selected.center().y())), 200) << "ring over the highlight";

    // Bold and underlined on a weekday, a weekend day and the selected day.
    for (const QRect& cell : {cellRect(calendar, 2, 1), saturday, selected})
        EXPECT_GT(darkPixels(image, cell), darkPixels(plain, cell) + 10) << "marked cell at " << cell.x();
    const QRect unmarked = cellRect(calendar, 4, 1); // the 5th
    EXPECT_EQ(darkPixels(image, unmarked), darkPixels(plain, unmarked));
}

} // namespace
