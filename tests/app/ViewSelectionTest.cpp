// The views of cboEventView, the filters and the focus on the selected day, and the
// five calendars of the side panel that pick that day: how they follow one another,
// which days are marked, and "Goto Today". All through the real main window.
#include <QCheckBox>
#include <QListWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

#include "AppTestSupport.h"
#include "controls/CalendarX.h"

using testing_support::at;

namespace {

class ViewSelection : public app_testing::MainWindowTest {
protected:
    void SetUp() override { start(); }
    void selectDay(TDateTime day) { window->CalendarX1->SetSelectedDate(day); }
    int topRow() const { return window->vstEvents->indexAt(QPoint(0, 0)).row(); }
    // The month of each calendar as yyyymm, with "*" where the selected day is highlighted.
    QStringList strip() const
    {
        QStringList months;
        for (TCalendarX* c :
             {window->CalendarX1, window->CalendarX2, window->CalendarX3, window->CalendarX4, window->CalendarX5})
            months << formatDateTime("yyyymm", c->SelectedMonth()) + (c->HighlightSelectedDate() ? "*" : "");
        return months;
    }
    TFontStyles marks(TDateTime day) const
    {
        QColor colour(Qt::white);
        TFontStyles styles;
        window->CalendarX1->OnBeforePaintDayBG(window->CalendarX1, day, colour, styles);
        return styles;
    }
};

TEST_F(ViewSelection, EachViewListsItsRangeOfDaysAndARefreshKeepsTheTopRow)
{
    // One event a day at 09:00 from 1 November 2023 to 31 January 2025.
    std::vector<TestEvent> daily;
    for (TDateTime day = at(2023, 11, 1); day <= at(2025, 1, 31); day += 1)
        daily.push_back({.when = day + 9.0 / 24});
    useEvents(daily);
    const struct {
        const char* name;
        TDateTime selected;
        int view;
        TDateTime first;
        TDateTime last;
    } cases[] = {
        {"all events", at(2024, 6, 12), 0, at(2023, 11, 1), at(2025, 1, 31)},
        {"the day", at(2024, 6, 12), 1, at(2024, 6, 12), at(2024, 6, 12)},
        {"week of a Wednesday", at(2024, 6, 12), 2, at(2024, 6, 9), at(2024, 6, 16)},
        {"week of a Saturday", at(2024, 6, 15), 2, at(2024, 6, 9), at(2024, 6, 16)},
        {"week of a Sunday", at(2024, 6, 16), 2, at(2024, 6, 16), at(2024, 6, 23)},
        {"next 7 days", at(2024, 6, 12), 3, at(2024, 6, 12), at(2024, 6, 19)},
        {"next 14 days", at(2024, 6, 12), 4, at(2024, 6, 12), at(2024, 6, 26)},
        {"the month", at(2024, 6, 12), 5, at(2024, 6, 1), at(2024, 6, 30)},
        {"this month and next", at(2024, 6, 12), 6, at(2024, 6, 1), at(2024, 7, 31)},
        {"December and January", at(2023, 12, 5), 6, at(2023, 12, 1), at(2024, 1, 31)},
        {"next 2 months", at(2024, 6, 12), 7, at(2024, 6, 12), at(2024, 8, 12)},
        {"next 2 months from 31 December", at(2023, 12, 31), 7, at(2023, 12, 31), at(2024, 2, 29)},
        {"the year", at(2024, 6, 12), 8, at(2024, 1, 1), at(2024, 12, 31)},
        // Whole days, whatever day is selected: today's 09:00 is still to come at 08:00.
        {"expired events", at(2024, 1, 15), 9, at(2023, 11, 1), at(2024, 6, 12)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        selectDay(c.selected);
        chooseView(c.view);
        const int rows = model->rowCount();
        ASSERT_GT(rows, 0);
        EXPECT_EQ(dateOf(model->occurrenceDateTime(0)), c.first);
        EXPECT_EQ(dateOf(model->occurrenceDateTime(rows - 1)), c.last);
        EXPECT_EQ(rows, static_cast<int>(c.last - c.first) + 1) << "one row for every day between";
    }

    // A refresh keeps the top row while it exists, and selects nothing.
    chooseView(0);
    window->vstEvents->scrollTo(model->index(120, 0), QAbstractItemView::PositionAtTop);
    window->vstEvents->setCurrentIndex(model->index(125, 1));
    ASSERT_EQ(topRow(), 120);
    ASSERT_EQ(selectedRow(), 125);

    window->RefreshEventView();
    EXPECT_EQ(topRow(), 120);
    EXPECT_EQ(selectedRow(), -1);
    EXPECT_FALSE(window->vstEvents->currentIndex().isValid());

    window->vstEvents->scrollTo(model->index(300, 0), QAbstractItemView::PositionAtTop);
    chooseView(5);
    EXPECT_EQ(topRow(), 0) << "the narrower list has no row 300";
}

TEST_F(ViewSelection, TheFilterControlsNarrowTheList)
{
    useEvents({
        {.when = at(2024, 6, 12, 9), .description = "low", .importance = eiLow, .category = "Home"},
        {.when = at(2024, 6, 12, 10), .description = "high", .importance = eiHigh, .category = "Work"},
        {.when = at(2024, 6, 12, 11), .description = "off", .enabled = false},
    });
    chooseView(1);
    EXPECT_EQ(shownDescriptions(), QStringList({"low", "high"})) << "no box and no category ticked: all enabled";
    const auto click = [](QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2)); };
    click(window->chkFilterImpHigh);
    EXPECT_EQ(shownDescriptions(), QStringList({"high"}));
    click(window->chkFilterImpLow);
    EXPECT_EQ(shownDescriptions(), QStringList({"low", "high"}));
    click(window->chkFilterImpHigh);
    click(window->chkFilterImpLow);

    QListWidgetItem* category = window->clstCategories->item(0);
    category->setText("work");
    category->setCheckState(Qt::Checked);
    window->RefreshEventView();
    EXPECT_EQ(shownDescriptions(), QStringList({"high"})) << "ticked categories, in any letter case";
    category->setCheckState(Qt::Unchecked);

    window->mnuitmOnlyEnabledEvents->trigger();
    EXPECT_EQ(shownDescriptions(), QStringList({"low", "high", "off"}));
    chooseView(9);
    EXPECT_TRUE(shownDescriptions().contains("off"));
    window->mnuitmOnlyEnabledEvents->trigger();
    EXPECT_FALSE(shownDescriptions().contains("off")) << "expired events too leave out disabled ones";
}

TEST_F(ViewSelection, PickingADaySelectsItsFirstRowOrShowsTheNextDaysRows)
{
    useEvents({{.when = at(2024, 6, 1, 9)}, {.when = at(2024, 6, 20, 14)}, {.when = at(2024, 6, 20, 9)}});
    selectDay(at(2024, 6, 20));
    ASSERT_EQ(selectedRow(), 1);
    EXPECT_EQ(model->occurrenceDateTime(1), at(2024, 6, 20, 9));
    const TListViewEventItem* selected = window->selectedEventItem();
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(std::pair(selected->EventIndex, selected->DateIndex), std::pair(2, -1)) << "the commands' row";

    std::vector<TestEvent> sparse;
    for (int i = 0; i < 300; ++i)
        sparse.push_back({.when = at(2024, 1, 1, 9) + i * 2}); // every other day
    useEvents(sparse);
    selectDay(at(2024, 6, 14)); // between two rows
    EXPECT_EQ(selectedRow(), -1);
    EXPECT_EQ(window->selectedEventItem(), nullptr);
    const int later = static_cast<int>((at(2024, 6, 15) - at(2024, 1, 1)) / 2);
    ASSERT_EQ(dateOf(model->occurrenceDateTime(later)), at(2024, 6, 15));
    const QRect shown = window->vstEvents->visualRect(model->index(later, 1));
    EXPECT_NEAR(shown.center().y(), window->vstEvents->viewport()->height() / 2, 1.5 * shown.height())
        << "the row is in the middle of the list";
}

using CalendarStrip = ViewSelection;

TEST_F(CalendarStrip, MonthsFollowOneAnotherAndTheLastPickedDayIsHighlighted)
{
    EXPECT_EQ(strip(), QStringList({"202406*", "202407", "202408", "202409", "202410"}));
    TCalendarX* third = window->CalendarX3;
    QTest::mouseClick(third, Qt::LeftButton, {},
                      {3 * third->GetColWidth() + 5, third->GetHeaderHeight() + 2 * third->GetRowHeight() + 5});
    EXPECT_EQ(strip(), QStringList({"202406", "202407", "202408*", "202409", "202410"}));
    const TDateTime picked = third->GetCellDate(3, 2);
    EXPECT_EQ(window->GetSelectedDate(), picked);
    EXPECT_EQ(window->CalendarX1->SelectedDate(), at(2024, 6, 12)) << "the first keeps its older day";

    // The others follow the calendar that moved; February clamps the day, not the month.
    window->CalendarX4->SetSelectedMonth(at(2025, 3, 10));
    EXPECT_EQ(strip(), QStringList({"202412", "202501", "202502*", "202503", "202504"}));
    window->CalendarX1->SetSelectedMonth(at(2025, 1, 31));
    EXPECT_EQ(strip(), QStringList({"202501", "202502", "202503*", "202504", "202505"}));
    window->CalendarX5->SetSelectedMonth(at(2024, 3, 31));
    EXPECT_EQ(strip(), QStringList({"202311", "202312", "202401*", "202402", "202403"}));
    EXPECT_EQ(window->GetSelectedDate(), picked) << "moving months picks no day";
}

TEST_F(CalendarStrip, MarksDaysWithShownEventsAndGotoTodayComesBackToToday)
{
    useEvents({
        {.when = at(2024, 6, 3, 9), .enabled = false, .onCalendar = true},
        {.when = at(2024, 6, 4, 9)}, // not shown on calendars
        {.when = at(2024, 6, 5, 9), .repeats = {at(2024, 6, 12, 9), at(2024, 6, 19, 9)}, .onCalendar = true},
        {.when = at(2024, 6, 12, 15)},
        {.when = at(2024, 10, 2, 9)},
    });
    EXPECT_EQ(marks(at(2024, 6, 3)), TFontStyles()) << "only a disabled event";
    EXPECT_EQ(marks(at(2024, 6, 4)), TFontStyles());
    EXPECT_EQ(marks(at(2024, 6, 5)), TFontStyles(fsBold | fsUnderline));
    EXPECT_EQ(marks(at(2024, 6, 19)), TFontStyles(fsBold | fsUnderline)) << "a repeated date";
    EXPECT_EQ(marks(at(2024, 6, 26)), TFontStyles());

    QScrollBar* scroll = window->ScrollBox1->verticalScrollBar();
    scroll->setValue(scroll->maximum());
    window->CalendarX5->SetSelectedDate(at(2024, 10, 2));
    window->CalendarX1->SetSelectedMonth(at(2024, 1, 1));
    QTest::mouseClick(window->sbtnGotoToday, Qt::LeftButton);
    EXPECT_EQ(strip(), QStringList({"202406*", "202407", "202408", "202409", "202410"}));
    EXPECT_EQ(window->GetSelectedDate(), at(2024, 6, 12));
    EXPECT_EQ(scroll->value(), 0);
    ASSERT_NE(selectedRow(), -1);
    EXPECT_EQ(model->occurrenceDateTime(selectedRow()), at(2024, 6, 12, 9)) << "today's first row";
}

} // namespace
