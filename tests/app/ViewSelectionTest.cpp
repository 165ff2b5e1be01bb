// The views of cboEventView, the filters and the focus on the selected day,
// through the real main window.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QTest>

#include "MainWindowFixture.h"

using app_testing::MainWindowFixture;
using app_testing::TestEvent;
using testing_support::at;

namespace {

// One event a day at 09:00 from 1 November 2023 to 31 January 2025; the clock
// stands at Wednesday 12 June 2024, 08:00.
class ViewSelectionTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        std::vector<TestEvent> daily;
        for (TDateTime day = at(2023, 11, 1); day <= at(2025, 1, 31); day += 1)
            daily.push_back(TestEvent(day + 9.0 / 24));
        useEvents(daily);
    }

    TDateTime firstShownDay() const { return dateOf(shownDates().front()); }
    TDateTime lastShownDay() const { return dateOf(shownDates().back()); }
};

struct ViewCase {
    const char* name;
    TDateTime selected;
    int view;
    TDateTime first;
    TDateTime last;
};

const ViewCase ViewCases[] = {
    {"all_events", at(2024, 6, 12), 0, at(2023, 11, 1), at(2025, 1, 31)},
    {"the_day", at(2024, 6, 12), 1, at(2024, 6, 12), at(2024, 6, 12)},
    {"week_of_a_wednesday", at(2024, 6, 12), 2, at(2024, 6, 9), at(2024, 6, 16)},
    {"week_of_a_monday", at(2024, 6, 10), 2, at(2024, 6, 9), at(2024, 6, 16)},
    {"week_of_a_saturday", at(2024, 6, 15), 2, at(2024, 6, 9), at(2024, 6, 16)},
    {"week_of_a_sunday", at(2024, 6, 16), 2, at(2024, 6, 16), at(2024, 6, 23)},
    {"next_7_days", at(2024, 6, 12), 3, at(2024, 6, 12), at(2024, 6, 19)},
    {"next_14_days", at(2024, 6, 12), 4, at(2024, 6, 12), at(2024, 6, 26)},
    {"the_month", at(2024, 6, 12), 5, at(2024, 6, 1), at(2024, 6, 30)},
    {"this_month_and_next", at(2024, 6, 12), 6, at(2024, 6, 1), at(2024, 7, 31)},
    {"december_and_january", at(2023, 12, 5), 6, at(2023, 12, 1), at(2024, 1, 31)},
    {"next_2_months", at(2024, 6, 12), 7, at(2024, 6, 12), at(2024, 8, 12)},
    {"next_2_months_from_31_december", at(2023, 12, 31), 7, at(2023, 12, 31), at(2024, 2, 29)},
    {"the_year", at(2024, 6, 12), 8, at(2024, 1, 1), at(2024, 12, 31)},
    // Whole days: today's 09:00 is still to come at 08:00 and is listed.
    {"expired_events", at(2024, 6, 12), 9, at(2023, 11, 1), at(2024, 6, 12)},
    {"expired_events_ignore_the_selected_day", at(2024, 1, 15), 9, at(2023, 11, 1), at(2024, 6, 12)},
};

class ViewRangeTest : public ViewSelectionTest, public ::testing::WithParamInterface<ViewCase> {};

TEST_P(ViewRangeTest, ListsTheRangeOfTheView)
{
    const ViewCase& c = GetParam();
    selectDay(c.selected);
    chooseView(c.view);
    ASSERT_GT(rows(), 0);
    EXPECT_EQ(firstShownDay(), c.first);
    EXPECT_EQ(lastShownDay(), c.last);
    EXPECT_EQ(rows(), static_cast<int>(c.last - c.first) + 1) << "one row for every day between";
}

INSTANTIATE_TEST_SUITE_P(TenViews, ViewRangeTest, ::testing::ValuesIn(ViewCases),
                         [](const ::testing::TestParamInfo<ViewCase>& info) { return std::string(info.param.name); });

// Four events on one day, one of each importance, in two categories; one more disabled.
class FilterTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        useCategories({"Home", "Work"});
        useEvents({
            TestEvent(at(2024, 6, 12, 9)).description("low").importance(eiLow).category("Home"),
            TestEvent(at(2024, 6, 12, 10)).description("normal").importance(eiNormal).category("work"),
            TestEvent(at(2024, 6, 12, 11)).description("high").importance(eiHigh).category("Work"),
            TestEvent(at(2024, 6, 12, 12)).description("highest").importance(eiHighest).category("Home"),
            TestEvent(at(2024, 6, 12, 13)).description("off").disabled().category("Work"),
        });
        chooseView(1);
    }

    void click(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2)); }
};

TEST_F(FilterTest, ImportanceBoxesNarrowTheList)
{
    EXPECT_EQ(shownDescriptions(), QStringList({"low", "normal", "high", "highest"})) << "no box: every importance";
    click(window->chkFilterImpHigh);
    EXPECT_EQ(shownDescriptions(), QStringList({"high"}));
    click(window->chkFilterImpHighest);
    EXPECT_EQ(shownDescriptions(), QStringList({"high", "highest"}));
    click(window->chkFilterImpHigh);
    click(window->chkFilterImpHighest);
    EXPECT_EQ(rows(), 4);
}

TEST_F(FilterTest, CheckedCategoriesNarrowTheListIgnoringCase)
{
    useCategories({"Home", "Work"}, {"Work"});
    window->RefreshEventView();
    EXPECT_EQ(shownDescriptions(), QStringList({"normal", "high"}));
    useCategories({"Home", "Work"}, {"Home", "Work"});
    window->RefreshEventView();
    EXPECT_EQ(rows(), 4);
    useCategories({"Home", "Work"});
    window->RefreshEventView();
    EXPECT_EQ(rows(), 4) << "no check mark: every category";
}

TEST_F(FilterTest, DisabledEventsShowOnlyWhenAskedFor)
{
    ASSERT_TRUE(window->mnuitmOnlyEnabledEvents->isChecked());
    EXPECT_FALSE(shownDescriptions().contains("off"));
    window->mnuitmOnlyEnabledEvents->trigger();
    EXPECT_EQ(shownDescriptions().back(), QStringLiteral("off"));
    chooseView(9);
    EXPECT_TRUE(shownDescriptions().contains("off"));
    window->mnuitmOnlyEnabledEvents->trigger();
    EXPECT_FALSE(shownDescriptions().contains("off")) << "expired events too leave out disabled ones";
}

TEST_F(ViewSelectionTest, ARefreshKeepsTheTopRowAndSelectsNothing)
{
    chooseView(0);
    window->vstEvents->scrollTo(model->index(120, 0), QAbstractItemView::PositionAtTop);
    window->vstEvents->setCurrentIndex(model->index(125, 1));
    ASSERT_EQ(topRow(), 120);
    ASSERT_EQ(selectedRow(), 125);

    window->RefreshEventView();
    EXPECT_EQ(topRow(), 120);
    EXPECT_EQ(selectedRow(), -1);
    EXPECT_FALSE(window->vstEvents->currentIndex().isValid());
}

TEST_F(ViewSelectionTest, ANarrowerListStartsAtTheTopWhenTheOldTopRowIsGone)
{
    chooseView(0);
    window->vstEvents->scrollTo(model->index(300, 0), QAbstractItemView::PositionAtTop);
    chooseView(5);
    EXPECT_EQ(topRow(), 0);
}

TEST_F(ViewSelectionTest, PickingADaySelectsItsFirstRow)
{
    useEvents({TestEvent(at(2024, 6, 1, 9)), TestEvent(at(2024, 6, 20, 14)), TestEvent(at(2024, 6, 20, 9)),
               TestEvent(at(2024, 6, 28, 9))});
    chooseView(0);
    selectDay(at(2024, 6, 20));
    ASSERT_EQ(selectedRow(), 1);
    EXPECT_EQ(model->occurrenceDateTime(1), at(2024, 6, 20, 9));
    ASSERT_NE(window->selectedEventItem(), nullptr);
    EXPECT_EQ(window->selectedEventItem()->EventIndex, 2);
    EXPECT_EQ(window->selectedEventItem()->DateIndex, -1);
}

TEST_F(ViewSelectionTest, PickingADayWithoutRowsShowsTheNextOneWithoutSelecting)
{
    chooseView(0);
    std::vector<TestEvent> sparse;
    for (int i = 0; i < 300; ++i)
        sparse.push_back(TestEvent(at(2024, 1, 1, 9) + i * 2)); // every other day
    useEvents(sparse);
    selectDay(at(2024, 6, 14)); // between two rows
    EXPECT_EQ(selectedRow(), -1);
    EXPECT_EQ(window->selectedEventItem(), nullptr);
    const int later = static_cast<int>((at(2024, 6, 15) - at(2024, 1, 1)) / 2);
    ASSERT_EQ(dateOf(model->occurrenceDateTime(later)), at(2024, 6, 15));
    const QRect shown = window->vstEvents->visualRect(model->index(later, 1));
    const int middle = window->vstEvents->viewport()->height() / 2;
    EXPECT_TRUE(shown.top() <= middle + shown.height() && shown.bottom() >= middle - shown.height())
        << "the row is in the middle of the list";
}

} // namespace
