// The five calendars of the side panel: how they follow one another, which day
// is selected, which days are marked, and "Goto Today".
#include <QAction>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <array>

#include "MainWindowFixture.h"

using app_testing::MainWindowFixture;
using app_testing::TestEvent;
using testing_support::at;

namespace {

class CalendarStripTest : public MainWindowFixture {
protected:
    std::array<TCalendarX*, 5> calendars() const
    {
        return {window->CalendarX1, window->CalendarX2, window->CalendarX3, window->CalendarX4, window->CalendarX5};
    }
    // Year and month shown by each calendar, as yyyymm.
    std::vector<int> monthsShown() const
    {
        std::vector<int> months;
        for (TCalendarX* calendar : calendars()) {
            int year = 0, month = 0, day = 0;
            decodeDate(calendar->SelectedMonth(), year, month, day);
            months.push_back(year * 100 + month);
        }
        return months;
    }
    std::vector<bool> highlights() const
    {
        std::vector<bool> flags;
        for (TCalendarX* calendar : calendars())
            flags.push_back(calendar->HighlightSelectedDate());
        return flags;
    }
    QPoint cellCentre(TCalendarX* calendar, int col, int row) const
    {
        return {col * calendar->GetColWidth() + calendar->GetColWidth() / 2,
                calendar->GetHeaderHeight() + row * calendar->GetRowHeight() + calendar->GetRowHeight() / 2};
    }
    TFontStyles marks(TDateTime day) const
    {
        QColor colour(Qt::white);
        TFontStyles styles;
        window->CalendarX1->OnBeforePaintDayBG(window->CalendarX1, day, colour, styles);
        return styles;
    }
};

TEST_F(CalendarStripTest, StartsOnTodayAndTheFourMonthsAfter)
{
    EXPECT_EQ(monthsShown(), (std::vector<int>{202406, 202407, 202408, 202409, 202410}));
    EXPECT_EQ(highlights(), (std::vector<bool>{true, false, false, false, false}));
    EXPECT_EQ(window->GetSelectedDate(), at(2024, 6, 12));
}

TEST_F(CalendarStripTest, PickingADayMovesTheSelectionToThatCalendar)
{
    TCalendarX* third = window->CalendarX3;
    QTest::mouseClick(third, Qt::LeftButton, {}, cellCentre(third, 3, 2));
    const TDateTime picked = third->GetCellDate(3, 2);
    EXPECT_EQ(highlights(), (std::vector<bool>{false, false, true, false, false}));
    EXPECT_EQ(window->GetSelectedDate(), picked);
    EXPECT_EQ(window->CalendarX1->SelectedDate(), at(2024, 6, 12)) << "the first keeps its older day";
}

TEST_F(CalendarStripTest, MonthsFollowTheCalendarThatMoved)
{
    window->CalendarX4->SetSelectedMonth(at(2025, 3, 10));
    EXPECT_EQ(monthsShown(), (std::vector<int>{202412, 202501, 202502, 202503, 202504}));
    EXPECT_EQ(window->GetSelectedDate(), at(2024, 6, 12));

    window->CalendarX1->SetSelectedMonth(at(2025, 1, 31)); // February clamps the day, not the month
    EXPECT_EQ(monthsShown(), (std::vector<int>{202501, 202502, 202503, 202504, 202505}));

    window->CalendarX5->SetSelectedMonth(at(2024, 3, 31));
    EXPECT_EQ(monthsShown(), (std::vector<int>{202311, 202312, 202401, 202402, 202403}));
}

TEST_F(CalendarStripTest, MarksDaysWithShownEventsBoldAndUnderlined)
{
    useEvents({
        TestEvent(at(2024, 6, 3, 9)).onCalendar().disabled(),       // only a disabled event
        TestEvent(at(2024, 6, 4, 9)),                               // not shown on calendars
        TestEvent(at(2024, 6, 5, 9)).onCalendar().weeklyRepeats(2), // also on 12 and 19 June
    });
    EXPECT_EQ(marks(at(2024, 6, 3)), TFontStyles());
    EXPECT_EQ(marks(at(2024, 6, 4)), TFontStyles());
    EXPECT_EQ(marks(at(2024, 6, 5)), TFontStyles(fsBold | fsUnderline));
    EXPECT_EQ(marks(at(2024, 6, 19)), TFontStyles(fsBold | fsUnderline)) << "a repeated date";
    EXPECT_EQ(marks(at(2024, 6, 26)), TFontStyles());
}

TEST_F(CalendarStripTest, GotoTodayComesBackToTodayOnTheFirstCalendar)
{
    useEvents({TestEvent(at(2024, 6, 12, 15)), TestEvent(at(2024, 6, 12, 9)), TestEvent(at(2024, 10, 2, 9))});
    window->ScrollBox1->verticalScrollBar()->setValue(window->ScrollBox1->verticalScrollBar()->maximum());
    window->CalendarX5->SetSelectedDate(at(2024, 10, 2));
    ASSERT_EQ(window->GetSelectedDate(), at(2024, 10, 2));
    window->CalendarX1->SetSelectedMonth(at(2024, 1, 1));

    QTest::mouseClick(window->sbtnGotoToday, Qt::LeftButton);
    EXPECT_EQ(highlights(), (std::vector<bool>{true, false, false, false, false}));
    EXPECT_EQ(window->GetSelectedDate(), at(2024, 6, 12));
    EXPECT_EQ(monthsShown().front(), 202406);
    EXPECT_EQ(window->ScrollBox1->verticalScrollBar()->value(), 0);
    EXPECT_EQ(selectedRow(), 0);
    EXPECT_EQ(model->occurrenceDateTime(0), at(2024, 6, 12, 9)) << "today's first row";
}

TEST_F(CalendarStripTest, DoubleClickingADayStartsANewEvent)
{
    QSignalSpy newEvents(window->actNewEvent, &QAction::triggered);
    TCalendarX* second = window->CalendarX2;
    QTest::mouseDClick(second, Qt::LeftButton, {}, cellCentre(second, 2, 3));
    EXPECT_EQ(newEvents.count(), 1);
    EXPECT_EQ(window->GetSelectedDate(), second->GetCellDate(2, 3)) << "the new event is dated on that day";
}

} // namespace
