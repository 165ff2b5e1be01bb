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

using controls_test::choose;
using controls_test::dismissOpenMenu;
using controls_test::openMenu;
using testing_support::at;
using testing_support::ClockOverride;

namespace {

// ---- The date grid ---------------------------------------------------------------

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
    EXPECT_EQ(calendar.GetCellDate(m.firstIndex % 7, m.firstIndex / 7), first);
    for (int i = 0; i < 42; ++i)
        EXPECT_EQ(calendar.GetCellDate(i % 7, i / 7), first + (i - m.firstIndex)) << "cell " << i;
    // Column 0 is always a Sunday, so the whole month fits in the six rows.
    EXPECT_EQ(dayOfTheWeek(calendar.GetCellDate(0, 0)), 7);
    const int lastIndex = m.firstIndex + daysInMonth(m.year, m.month) - 1;
    EXPECT_LE(lastIndex, 41);
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

TEST(CalendarXGridLimits, CellsOutsideTheGridRaise)
{
    TCalendarX calendar;
    for (const auto& [col, row] : std::vector<std::pair<int, int>>{{-1, 0}, {0, 6}, {7, 5}}) {
        try {
            calendar.GetCellDate(col, row);
            ADD_FAILURE() << "no exception for " << col << "," << row;
        } catch (const QuilletError& error) {
            EXPECT_EQ(error.message(), QStringLiteral("Get Date index out of range"));
        }
    }
    EXPECT_NO_THROW(calendar.GetCellDate(6, 5));
}

// ---- Selected date and month -----------------------------------------------------

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
    std::vector<std::string> log;
};

TEST_F(CalendarXSelection, StartsOnTodayShowingItsMonth)
{
    TCalendarX fresh;
    EXPECT_EQ(fresh.SelectedDate(), at(2024, 9, 18));
    EXPECT_EQ(fresh.SelectedMonth(), at(2024, 9, 18));
    EXPECT_EQ(fresh.GetCellDate(3, 3), at(2024, 9, 18));
    EXPECT_TRUE(fresh.HighlightSelectedDate());
    EXPECT_TRUE(fresh.HighlightTodaysDate());
}

TEST_F(CalendarXSelection, DateKeepsTheDayOnlyAndAlwaysNotifies)
{
    calendar.SetSelectedDate(at(2024, 9, 5, 17, 45));
    EXPECT_EQ(calendar.SelectedDate(), at(2024, 9, 5));
    calendar.SetSelectedDate(at(2024, 9, 5));
    EXPECT_EQ(log, (std::vector<std::string>{"date", "date"}));
}

TEST_F(CalendarXSelection, DateOutsideTheMonthLeavesTheMonthShown)
{
    calendar.SetSelectedDate(at(2025, 2, 1));
    EXPECT_EQ(calendar.SelectedDate(), at(2025, 2, 1));
    EXPECT_EQ(calendar.SelectedMonth(), at(2024, 9, 18));
    EXPECT_EQ(calendar.GetCellDate(0, 1), at(2024, 9, 1));
    EXPECT_EQ(log, (std::vector<std::string>{"date"}));
}

TEST_F(CalendarXSelection, MonthChangesOnlyForAnotherMonthOrYear)
{
    calendar.SetSelectedMonth(at(2024, 9, 30, 12, 0));
    EXPECT_EQ(calendar.SelectedMonth(), at(2024, 9, 18)) << "same month: the earlier value stays";
    EXPECT_TRUE(log.empty());

    calendar.SetSelectedMonth(at(2025, 9, 30, 12, 0));
    EXPECT_EQ(calendar.SelectedMonth(), at(2025, 9, 30, 12, 0)) << "stored as given";
    EXPECT_EQ(calendar.GetCellDate(1, 0), at(2025, 9, 1));
    EXPECT_EQ(log, (std::vector<std::string>{"month"}));
}

// While SetSelectedDate repaints, a paint handler's selection is ignored; during an
// ordinary paint it is taken.
TEST_F(CalendarXSelection, PaintHandlerCannotReenterTheSelectionItRepaintsFor)
{
    calendar.resize(218, 180);
    calendar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&calendar));
    bool selectFromPaint = true;
    int cellsPainted = 0;
    calendar.OnBeforePaintDayBG = [&](QObject*, TDateTime, QColor&, TFontStyles&) {
        ++cellsPainted;
        if (selectFromPaint)
            calendar.SetSelectedDate(at(2024, 9, 25));
    };

    log.clear();
    calendar.SetSelectedDate(at(2024, 9, 10));
    EXPECT_EQ(cellsPainted, 42) << "the new selection is painted at once";
    EXPECT_EQ(calendar.SelectedDate(), at(2024, 9, 10));
    EXPECT_EQ(log, (std::vector<std::string>{"date"}));

    log.clear();
    calendar.repaint();
    selectFromPaint = false;
    EXPECT_EQ(calendar.SelectedDate(), at(2024, 9, 25));
    EXPECT_FALSE(log.empty());
}

TEST_F(CalendarXSelection, AnExceptionFromTheOwnerLeavesTheControlUsable)
{
    calendar.OnDateChanged = [](QObject*) { throw QuilletError(QStringLiteral("owner failed")); };
    EXPECT_THROW(calendar.SetSelectedDate(at(2024, 9, 3)), QuilletError);
    EXPECT_EQ(calendar.SelectedDate(), at(2024, 9, 3));
    calendar.OnDateChanged = nullptr;
    calendar.SetSelectedDate(at(2024, 9, 4));
    EXPECT_EQ(calendar.SelectedDate(), at(2024, 9, 4));
}

TEST_F(CalendarXSelection, FailingPaintHandlerIsReportedOnceAfterThePaint)
{
    QStringList reports;
    setMessageSinkForTests([&](const QString& message) { reports << message; });
    calendar.OnBeforePaintDayBG = [](QObject*, TDateTime, QColor&, TFontStyles&) {
        throw QuilletError(QStringLiteral("no events"));
    };
    calendar.grab();
    calendar.grab();
    EXPECT_TRUE(reports.isEmpty()) << "not inside the paint";
    QApplication::processEvents();
    setMessageSinkForTests(nullptr);
    EXPECT_EQ(reports, QStringList{QStringLiteral("no events")});
}

// ---- The mouse -------------------------------------------------------------------

class CalendarXMouse : public CalendarXSelection {
protected:
    void SetUp() override
    {
        calendar.resize(218, 180);
        calendar.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&calendar));
        log.clear();
    }
    void TearDown() override { dismissOpenMenu(); }

    QPoint cellCentre(int col, int row) const
    {
        return QPoint(col * calendar.GetColWidth() + calendar.GetColWidth() / 2,
                      calendar.GetHeaderHeight() + row * calendar.GetRowHeight() + calendar.GetRowHeight() / 2);
    }

    // Press, release, the second press as a double click, release: what a user's
    // double click delivers.
    void doubleClick(QPoint pos)
    {
        QTest::mouseClick(&calendar, Qt::LeftButton, {}, pos);
        QTest::mouseDClick(&calendar, Qt::LeftButton, {}, pos);
        QTest::mouseRelease(&calendar, Qt::LeftButton, {}, pos);
    }

    QPoint titlePoint(int x) const { return QPoint(x, calendar.GetTitleHeight() / 2); }
};

TEST_F(CalendarXMouse, ClickSelectsTheDayUnderTheMouse)
{
    QTest::mouseClick(&calendar, Qt::LeftButton, {}, cellCentre(4, 2)); // Thursday the 12th
    EXPECT_EQ(calendar.SelectedDate(), at(2024, 9, 12));
    QTest::mouseClick(&calendar, Qt::RightButton, {}, cellCentre(0, 3));
    EXPECT_EQ(calendar.SelectedDate(), at(2024, 9, 15)) << "any button selects";
    EXPECT_EQ(log, (std::vector<std::string>{"date", "date"}));
}

TEST_F(CalendarXMouse, OwnersFailureOnAClickIsReported)
{
    QStringList reports;
    setMessageSinkForTests([&](const QString& message) { reports << message; });
    calendar.OnDblClickDate = [](QObject*) { throw QuilletError(QStringLiteral("cannot add")); };
    doubleClick(cellCentre(1, 1));
    setMessageSinkForTests(nullptr);
    EXPECT_EQ(reports, QStringList{QStringLiteral("cannot add")});
    EXPECT_EQ(calendar.SelectedDate(), at(2024, 9, 2));
}

TEST_F(CalendarXMouse, ClickOnAGreyDaySelectsItAndKeepsTheMonth)
{
    QTest::mouseClick(&calendar, Qt::LeftButton, {}, cellCentre(3, 0));
    EXPECT_EQ(calendar.SelectedDate(), at(2024, 8, 28));
    EXPECT_EQ(calendar.SelectedMonth(), at(2024, 9, 18));
}

TEST_F(CalendarXMouse, DoubleClickReportsTheDateTwiceThenTheDoubleClick)
{
    doubleClick(cellCentre(2, 4)); // Tuesday the 24th
    EXPECT_EQ(calendar.SelectedDate(), at(2024, 9, 24));
    EXPECT_EQ(log, (std::vector<std::string>{"date", "date", "double"}));
}

TEST_F(CalendarXMouse, PressesOutsideTheCellsSelectNothing)
{
    const TDateTime before = calendar.SelectedDate();
    const int header = calendar.GetHeaderHeight();
    QTest::mouseClick(&calendar, Qt::LeftButton, {}, QPoint(40, header - 3));                  // day names
    QTest::mouseClick(&calendar, Qt::LeftButton, {}, QPoint(40, header));                      // their bottom edge
    QTest::mouseClick(&calendar, Qt::LeftButton, {}, QPoint(7 * calendar.GetColWidth(), 100)); // right strip
    QTest::mouseClick(&calendar, Qt::LeftButton, {}, QPoint(40, header + 6 * calendar.GetRowHeight())); // bottom strip
    EXPECT_EQ(calendar.SelectedDate(), before);
    EXPECT_TRUE(log.empty());

    // A double click there still tells the owner.
    doubleClick(QPoint(40, header + 6 * calendar.GetRowHeight()));
    EXPECT_EQ(log, (std::vector<std::string>{"double"}));
    EXPECT_EQ(openMenu(), nullptr);
}

TEST_F(CalendarXMouse, FirstAndLastPixelsOfTheGrid)
{
    const int header = calendar.GetHeaderHeight();
    QTest::mouseClick(&calendar, Qt::LeftButton, {}, QPoint(0, header + 1));
    EXPECT_EQ(calendar.SelectedDate(), at(2024, 8, 25));
    QTest::mouseClick(&calendar, Qt::LeftButton, {},
                      QPoint(7 * calendar.GetColWidth() - 1, header + 6 * calendar.GetRowHeight() - 1));
    EXPECT_EQ(calendar.SelectedDate(), at(2024, 10, 5));
}

TEST(CalendarXTiny, HasNoCellsToClick)
{
    TCalendarX calendar;
    calendar.resize(6, 100); // narrower than 7 columns of one pixel
    bool changed = false, doubled = false;
    calendar.OnDateChanged = [&](QObject*) { changed = true; };
    calendar.OnDblClickDate = [&](QObject*) { doubled = true; };
    calendar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&calendar));
    QTest::mouseClick(&calendar, Qt::LeftButton, {}, QPoint(3, 90));
    QTest::mouseDClick(&calendar, Qt::LeftButton, {}, QPoint(3, 90));
    EXPECT_FALSE(changed);
    EXPECT_TRUE(doubled);
}

TEST_F(CalendarXMouse, TitleOpensTheMenusOnlyOnceItHasBeenPainted)
{
    TCalendarX unpainted;
    unpainted.resize(218, 180);
    unpainted.SetSelectedMonth(at(2024, 10, 1));
    QTest::mouseClick(&unpainted, Qt::LeftButton, {}, QPoint(5, 10));
    QTest::mouseClick(&unpainted, Qt::LeftButton, {}, QPoint(213, 10));
    EXPECT_EQ(openMenu(), nullptr);
    QTest::mouseClick(&unpainted, Qt::LeftButton, {}, cellCentre(0, 0));
    EXPECT_EQ(unpainted.SelectedDate(), at(2024, 9, 29)) << "its clicks do arrive";

    QTest::mouseClick(&calendar, Qt::LeftButton, {}, titlePoint(5));
    ASSERT_NE(openMenu(), nullptr);
    EXPECT_EQ(openMenu()->objectName(), QStringLiteral("FMonthMenu"));
    dismissOpenMenu();

    QTest::mouseClick(&calendar, Qt::LeftButton, {}, titlePoint(213));
    ASSERT_NE(openMenu(), nullptr);
    EXPECT_EQ(openMenu()->objectName(), QStringLiteral("FYearMenu"));
    dismissOpenMenu();

    QTest::mouseClick(&calendar, Qt::LeftButton, {}, titlePoint(150)); // between the texts
    EXPECT_EQ(openMenu(), nullptr);
    EXPECT_TRUE(log.empty());
}

TEST_F(CalendarXMouse, MonthMenuListsTheMonthsAsSpelled)
{
    QTest::mouseClick(&calendar, Qt::LeftButton, {}, titlePoint(5));
    ASSERT_NE(openMenu(), nullptr);
    QStringList captions;
    for (QAction* item : openMenu()->actions())
        captions << item->text();
    EXPECT_EQ(captions, (QStringList{"January", "Febuary", "March", "April", "May", "June", "July", "August",
                                     "September", "October", "November", "December"}));
}

TEST_F(CalendarXMouse, MonthChosenOnThe31stShowsThatMonth)
{
    calendar.SetSelectedMonth(at(2024, 1, 31, 8, 15));
    calendar.repaint();
    log.clear();
    QTest::mouseClick(&calendar, Qt::LeftButton, {}, titlePoint(5));
    choose(openMenu(), QStringLiteral("Febuary"));

    EXPECT_EQ(calendar.SelectedMonth(), at(2024, 2, 29, 8, 15));
    EXPECT_EQ(calendar.GetCellDate(4, 0), at(2024, 2, 1));
    EXPECT_EQ(log, (std::vector<std::string>{"month"}));
}

TEST_F(CalendarXMouse, YearMenuOffersFiveYearsEitherSide)
{
    calendar.SetSelectedMonth(at(2024, 2, 29));
    calendar.repaint();
    log.clear();
    QTest::mouseClick(&calendar, Qt::LeftButton, {}, titlePoint(213));
    QMenu* menu = openMenu();
    ASSERT_NE(menu, nullptr);
    QStringList captions;
    for (QAction* item : menu->actions())
        captions << item->text();
    EXPECT_EQ(captions,
              (QStringList{"2019", "2020", "2021", "2022", "2023", "2024", "2025", "2026", "2027", "2028", "2029"}));
    choose(menu, QStringLiteral("2025"));

    EXPECT_EQ(calendar.SelectedMonth(), at(2025, 2, 28)) << "no 29 February in 2025";
    EXPECT_EQ(calendar.SelectedDate(), at(2024, 9, 18)) << "the selection stays";
    EXPECT_EQ(log, (std::vector<std::string>{"month"}));
}

TEST_F(CalendarXMouse, YearMenuOffersOnlyYearsThatExist)
{
    calendar.SetSelectedMonth(at(9997, 12, 1));
    calendar.repaint();
    QTest::mouseClick(&calendar, Qt::LeftButton, {}, titlePoint(213));
    ASSERT_NE(openMenu(), nullptr);
    const QList<QAction*> items = openMenu()->actions();
    ASSERT_EQ(items.size(), 11);
    EXPECT_EQ(items[7]->text(), QStringLiteral("9999"));
    EXPECT_TRUE(items[7]->isEnabled());
    EXPECT_EQ(items[8]->text(), QStringLiteral("10000"));
    EXPECT_FALSE(items[8]->isEnabled());
}

} // namespace
