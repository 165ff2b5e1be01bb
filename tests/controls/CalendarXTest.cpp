// The calendar's date grid, its selection rules and its mouse handling.
#include <QApplication>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlsTestSupport.h"
#include "TestSupport.h"
#include "controls/CalendarX.h"
#include "events/Exceptions.h"
#include "platform/gui/ErrorReport.h"

using controls_test::captions;
using controls_test::choose;
using controls_test::dismissOpenMenu;
using controls_test::openMenu;
using testing_support::at;
using testing_support::ClockOverride;
using Log = std::vector<std::string>;

namespace {

struct MonthStart {
    int year;
    int month;
    int firstIndex; // where the 1st stands: its weekday, Monday 1 to Sunday 7
};

void PrintTo(const MonthStart& m, std::ostream* os)
{
    *os << m.year << "-" << m.month;
}

class CalendarXGrid : public ::testing::TestWithParam<MonthStart> {};

TEST_P(CalendarXGrid, PlacesTheFirstUnderItsWeekdayAndRunsOnDayByDay)
{
    const MonthStart m = GetParam();
    TCalendarX calendar;
    calendar.SetSelectedMonth(at(m.year, m.month, 15, 9, 30));
    const TDateTime first = at(m.year, m.month, 1);
    for (int i = 0; i < 42; ++i)
        ASSERT_EQ(calendar.GetCellDate(i % 7, i / 7), first + (i - m.firstIndex)) << "cell " << i;
    EXPECT_EQ(dayOfTheWeek(calendar.GetCellDate(0, 0)), 7) << "Sunday first";
    EXPECT_THROW(calendar.GetCellDate(0, 6), QuilletError);
}

INSTANTIATE_TEST_SUITE_P(EachWeekday, CalendarXGrid,
                         ::testing::Values(MonthStart{2024, 7, 1},  // Monday
                                           MonthStart{2024, 10, 2}, // Tuesday
                                           MonthStart{2025, 1, 3},  // Wednesday
                                           MonthStart{2024, 2, 4},  // Thursday, leap February
                                           MonthStart{2024, 11, 5}, // Friday
                                           MonthStart{2025, 3, 6},  // Saturday, 31 days: ends at 36
                                           MonthStart{2024, 9, 7},  // Sunday: a whole week of August first
                                           MonthStart{2026, 2, 7},  // Sunday, 28 days
                                           MonthStart{1899, 12, 5}, // the day count's origin month
                                           MonthStart{1, 1, 1}));

class CalendarXSelection : public ::testing::Test {
protected:
    CalendarXSelection()
    {
        calendar.OnDateChanged = [this](QObject* sender) {
            EXPECT_EQ(sender, &calendar);
            log.push_back("date");
        };
        calendar.OnMonthChanged = [this](QObject*) { log.push_back("month"); };
        calendar.OnDblClickDate = [this](QObject*) { log.push_back("double"); };
    }

    ClockOverride clock{at(2024, 9, 18, 10, 30)}; // before the calendar: it starts on today
    TCalendarX calendar;
    Log log;
};

TEST_F(CalendarXSelection, DateKeepsTheDayOnlyAlwaysNotifiesAndLeavesTheMonth)
{
    calendar.SetSelectedDate(at(2025, 2, 1, 17, 45));
    calendar.SetSelectedDate(at(2025, 2, 1));
    EXPECT_EQ(calendar.SelectedDate(), at(2025, 2, 1));
    EXPECT_EQ(calendar.SelectedMonth(), at(2024, 9, 18));
    EXPECT_EQ(calendar.GetCellDate(0, 1), at(2024, 9, 1));
    EXPECT_EQ(log, (Log{"date", "date"}));
}

TEST_F(CalendarXSelection, MonthChangesOnlyForAnotherMonthOrYear)
{
    calendar.SetSelectedMonth(at(2024, 9, 30, 12, 0));
    EXPECT_EQ(calendar.SelectedMonth(), at(2024, 9, 18)) << "same month: the earlier value stays";
    calendar.SetSelectedMonth(at(2025, 9, 30, 12, 0));
    EXPECT_EQ(calendar.SelectedMonth(), at(2025, 9, 30, 12, 0)) << "stored as given";
    EXPECT_EQ(calendar.GetCellDate(1, 0), at(2025, 9, 1));
    EXPECT_EQ(log, (Log{"month"}));
}

// While SetSelectedDate repaints, a paint handler's selection is ignored; during an
// ordinary paint it is taken.
TEST_F(CalendarXSelection, PaintHandlerCannotReenterTheSelectionItRepaintsFor)
{
    calendar.resize(218, 180);
    calendar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&calendar));
    int cellsPainted = 0;
    calendar.OnBeforePaintDayBG = [&](QObject*, TDateTime, QColor&, TFontStyles&) {
        ++cellsPainted;
        calendar.SetSelectedDate(at(2024, 9, 25));
    };
    calendar.SetSelectedDate(at(2024, 9, 10));
    EXPECT_EQ(cellsPainted, 42) << "the new selection is painted at once";
    EXPECT_EQ(calendar.SelectedDate(), at(2024, 9, 10));
    EXPECT_EQ(log, (Log{"date"}));

    calendar.repaint();
    calendar.OnBeforePaintDayBG = nullptr;
    EXPECT_EQ(calendar.SelectedDate(), at(2024, 9, 25));
}

TEST_F(CalendarXSelection, OwnersFailuresLeaveTheControlWorking)
{
    calendar.OnDateChanged = [](QObject*) { throw QuilletError(QStringLiteral("owner failed")); };
    EXPECT_THROW(calendar.SetSelectedDate(at(2024, 9, 3)), QuilletError);
    calendar.OnDateChanged = nullptr;
    calendar.SetSelectedDate(at(2024, 9, 4));
    EXPECT_EQ(calendar.SelectedDate(), at(2024, 9, 4));

    // A paint cannot show a message box: its failure is reported after it, once.
    QStringList reports;
    setMessageSinkForTests([&](const QString& message) { reports << message; });
    calendar.OnBeforePaintDayBG = [](QObject*, TDateTime, QColor&, TFontStyles&) {
        throw QuilletError(QStringLiteral("no events"));
    };
    calendar.grab();
    calendar.grab();
    EXPECT_TRUE(reports.isEmpty());
    QApplication::processEvents();
    setMessageSinkForTests(nullptr);
    EXPECT_EQ(reports, QStringList{QStringLiteral("no events")});
}

class CalendarXMouse : public CalendarXSelection {
protected:
    void SetUp() override
    {
        calendar.resize(218, 180);
        calendar.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&calendar));
    }
    void TearDown() override { dismissOpenMenu(); }

    QPoint cellCentre(int col, int row) const
    {
        return QPoint(col * calendar.GetColWidth() + calendar.GetColWidth() / 2,
                      calendar.GetHeaderHeight() + row * calendar.GetRowHeight() + calendar.GetRowHeight() / 2);
    }
    void click(QPoint pos, Qt::MouseButton button = Qt::LeftButton) { QTest::mouseClick(&calendar, button, {}, pos); }
    // What a user's double click delivers: press, release, double-click press, release.
    void doubleClick(QPoint pos)
    {
        click(pos);
        QTest::mouseDClick(&calendar, Qt::LeftButton, {}, pos);
        QTest::mouseRelease(&calendar, Qt::LeftButton, {}, pos);
    }
    QPoint title(int x) const { return QPoint(x, calendar.GetTitleHeight() / 2); }
};

TEST_F(CalendarXMouse, ClickSelectsTheDayUnderTheMouseGreyDaysToo)
{
    click(cellCentre(4, 2), Qt::RightButton); // any button
    EXPECT_EQ(calendar.SelectedDate(), at(2024, 9, 12));
    click(cellCentre(3, 0));
    EXPECT_EQ(calendar.SelectedDate(), at(2024, 8, 28));
    EXPECT_EQ(calendar.SelectedMonth(), at(2024, 9, 18));
    click(QPoint(0, calendar.GetHeaderHeight() + 1)); // the grid's first pixel
    EXPECT_EQ(calendar.SelectedDate(), at(2024, 8, 25));
    EXPECT_EQ(log, (Log{"date", "date", "date"}));
}

TEST_F(CalendarXMouse, DoubleClickReportsTheDateTwiceThenTheDoubleClick)
{
    doubleClick(cellCentre(2, 4)); // Tuesday the 24th
    EXPECT_EQ(calendar.SelectedDate(), at(2024, 9, 24));
    EXPECT_EQ(log, (Log{"date", "date", "double"}));

    QStringList reports;
    setMessageSinkForTests([&](const QString& message) { reports << message; });
    calendar.OnDblClickDate = [](QObject*) { throw QuilletError(QStringLiteral("cannot add")); };
    doubleClick(cellCentre(1, 1));
    setMessageSinkForTests(nullptr);
    EXPECT_EQ(reports, QStringList{QStringLiteral("cannot add")}) << "reported, not thrown through Qt";
}

TEST_F(CalendarXMouse, PressesOutsideTheCellsSelectNothing)
{
    const int header = calendar.GetHeaderHeight();
    const int belowGrid = header + 6 * calendar.GetRowHeight();
    click(QPoint(40, header - 3));                  // day names
    click(QPoint(40, header));                      // their bottom edge
    click(QPoint(7 * calendar.GetColWidth(), 100)); // the strip right of the grid
    click(QPoint(40, belowGrid));                   // the strip below it
    EXPECT_EQ(calendar.SelectedDate(), at(2024, 9, 18));
    EXPECT_TRUE(log.empty());
    doubleClick(QPoint(40, belowGrid));
    EXPECT_EQ(log, (Log{"double"})) << "a double click there still tells the owner";
}

TEST_F(CalendarXMouse, TitleOpensTheMenusOnlyOnceItHasBeenPainted)
{
    TCalendarX unpainted;
    unpainted.resize(218, 180);
    QTest::mouseClick(&unpainted, Qt::LeftButton, {}, title(5));
    QTest::mouseClick(&unpainted, Qt::LeftButton, {}, title(213));
    EXPECT_EQ(openMenu(), nullptr);
    QTest::mouseClick(&unpainted, Qt::LeftButton, {}, cellCentre(0, 0));
    EXPECT_EQ(unpainted.SelectedDate(), at(2024, 8, 25)) << "its clicks do arrive";

    click(title(5));
    ASSERT_NE(openMenu(), nullptr);
    EXPECT_EQ(openMenu()->objectName(), QStringLiteral("FMonthMenu"));
    dismissOpenMenu();
    click(title(213));
    ASSERT_NE(openMenu(), nullptr);
    EXPECT_EQ(openMenu()->objectName(), QStringLiteral("FYearMenu"));
    dismissOpenMenu();
    click(title(150)); // between the texts
    EXPECT_EQ(openMenu(), nullptr);
}

TEST_F(CalendarXMouse, MonthChosenOnThe31stShowsThatMonth)
{
    calendar.SetSelectedMonth(at(2024, 1, 31, 8, 15));
    calendar.repaint();
    click(title(5));
    ASSERT_NE(openMenu(), nullptr);
    EXPECT_EQ(captions(openMenu()), (QStringList{"January", "Febuary", "March", "April", "May", "June", "July",
                                                 "August", "September", "October", "November", "December"}));
    choose(openMenu(), QStringLiteral("Febuary"));
    EXPECT_EQ(calendar.SelectedMonth(), at(2024, 2, 29, 8, 15));
    EXPECT_EQ(calendar.GetCellDate(4, 0), at(2024, 2, 1));
    EXPECT_EQ(log, (Log{"month", "month"}));
}

TEST_F(CalendarXMouse, YearMenuOffersFiveYearsEitherSideThatExist)
{
    calendar.SetSelectedMonth(at(2024, 2, 29));
    calendar.repaint();
    click(title(213));
    ASSERT_NE(openMenu(), nullptr);
    EXPECT_EQ(captions(openMenu()),
              (QStringList{"2019", "2020", "2021", "2022", "2023", "2024", "2025", "2026", "2027", "2028", "2029"}));
    choose(openMenu(), QStringLiteral("2025"));
    EXPECT_EQ(calendar.SelectedMonth(), at(2025, 2, 28)) << "no 29 February in 2025";
    EXPECT_EQ(calendar.SelectedDate(), at(2024, 9, 18));

    calendar.SetSelectedMonth(at(9997, 12, 1));
    calendar.repaint();
    click(title(213));
    ASSERT_NE(openMenu(), nullptr);
    const QList<QAction*> items = openMenu()->actions();
    EXPECT_TRUE(items[7]->isEnabled()) << "9999";
    EXPECT_FALSE(items[8]->isEnabled()) << "10000 cannot be shown";
}

} // namespace
