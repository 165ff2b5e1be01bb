// The repeated-dates editor driven as a user drives it, alone and from the edit dialog.
#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "LayoutCheck.h"
#include "TestSupport.h"
#include "controls/TimePicker.h"
#include "dialogs/DatePicker.h"
#include "dialogs/EditEvent.h"
#include "dialogs/MonthDaysGrid.h"
#include "dialogs/RepeatedEventEditor.h"

using testing_support::at;

namespace {

TEvent eventAt(TDateTime start, std::initializer_list<TDateTime> repeats = {})
{
    TEvent event;
    event.SetStartDate(start);
    for (TDateTime date : repeats)
        event.RepeatedDates->AddDate(date, true, 0);
    return event;
}

class RepeatedEventEditor : public ::testing::Test {
protected:
    // Runs whileOpen in the open editor, then closes it with Done or Cancel.
    bool execute(const TEvent& event, const std::function<void()>& whileOpen, bool done = true)
    {
        QTimer::singleShot(0, editor.get(), [&] {
            whileOpen();
            QTest::mouseClick(done ? editor->btnDone : editor->btnCancel, Qt::LeftButton);
        });
        return editor->Execute(event);
    }

    QStringList lines() const
    {
        QStringList texts;
        const QAbstractItemModel* model = editor->lstRepeatedDates->model();
        for (int row = 0; row < model->rowCount(); ++row)
            texts << model->index(row, 0).data().toString();
        return texts;
    }
    QStringList entries() const
    {
        QStringList texts;
        for (int i = 0; i < editor->FDates->GetCount(); ++i)
            texts << formatDateTime("yyyy-mm-dd hh:nn", editor->FDates->GetItem(i)->DateTime);
        return texts;
    }
    QString count() const { return editor->lblRepeatedDateCount->text(); }
    void add() { QTest::mouseClick(editor->btnAddDates, Qt::LeftButton); }
    void replace() { QTest::mouseClick(editor->btnReplaceDates, Qt::LeftButton); }
    void choosePage(QTabWidget* tabs, QWidget* page)
    {
        QTabBar* bar = tabs->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tabs->indexOf(page)).center());
    }
    void setRange(TDateTime start, TDateTime end)
    {
        editor->dtpStartDate->SetDateTime(start);
        editor->dtpEndDate->SetDateTime(end);
    }

    QPoint cell(int row, int column) const
    {
        return editor->VirtualStringTree1->visualRect(editor->VirtualStringTree1->model()->index(row, column)).center();
    }
    QColor cellColour(int row, int column) const
    {
        const QImage picture = editor->VirtualStringTree1->viewport()->grab().toImage();
        return picture.pixelColor(cell(row, column) + QPoint(12, 6));
    }
    void clickCell(int row, int column)
    {
        QTest::mouseClick(editor->VirtualStringTree1->viewport(), Qt::LeftButton, {}, cell(row, column));
    }

    std::unique_ptr<TfrmRepeatedEventEditor> editor = std::make_unique<TfrmRepeatedEventEditor>();
};

const QColor Yellow(255, 255, 0);

QString exact(TDateTime value)
{
    return formatDateTime("yyyy-mm-dd hh:nn:ss", value);
}

} // namespace

TEST_F(RepeatedEventEditor, OpensOnTheEventsDatesUnsortedAndWithoutDuplicates)
{
    const TEvent event = eventAt(at(2024, 2, 29, 10, 0, 42),
                                 {at(2024, 3, 1, 10), at(2024, 2, 29, 10, 0, 10), at(2023, 5, 1, 8), at(2024, 3, 1, 10)});
    const bool confirmed = execute(event, [&] {
        EXPECT_EQ(editor->size(), QSize(700, 478));
        EXPECT_EQ(exact(editor->dtpStartDate->DateTime()), "2024-02-29 10:00:42") << "the start's time is kept";
        EXPECT_EQ(editor->dtpEndDate->date(), QDate(2034, 2, 28));
        EXPECT_EQ(exact(editor->tpHourlyTimeFrom->Time()), "1899-12-30 10:00:42");
        EXPECT_EQ(entries(), QStringList({"2024-02-29 10:00", "2024-03-01 10:00", "2023-05-01 08:00"}));
        EXPECT_EQ(count(), "Repeated 3 time(s)");
    });
    EXPECT_TRUE(confirmed);
    EXPECT_EQ(event.RepeatedDates->GetCount(), 4) << "the event is only read";

    EXPECT_FALSE(execute(eventAt(at(2024, 2, 29, 10)), [&] { EXPECT_EQ(count(), "Repeated 1 time(s)"); }, false));
    // A start in the last years proposes the last supported day instead of raising.
    execute(eventAt(at(9995, 6, 1, 9)), [&] { EXPECT_EQ(editor->dtpEndDate->date(), QDate(9999, 12, 31)); });
}

TEST_F(RepeatedEventEditor, AddSortsAndRefusesDuplicatesReplaceStartsAgain)
{
    execute(eventAt(at(2026, 1, 10, 9), {at(2025, 12, 1, 9)}), [&] {
        choosePage(editor->pcBRD, editor->tsDaily);
        setRange(at(2026, 1, 8, 9), at(2026, 1, 10));
        add();
        EXPECT_EQ(entries(), QStringList({"2025-12-01 09:00", "2026-01-08 09:00", "2026-01-09 09:00", "2026-01-10 09:00"}))
            << "the earlier repeated date becomes entry 0";
        add();
        EXPECT_EQ(editor->FDates->GetCount(), 4) << "the same rule twice adds nothing";

        editor->sedtEveryXDays->setValue(2);
        replace();
        EXPECT_EQ(entries(), QStringList({"2026-01-08 09:00", "2026-01-10 09:00"}));
        EXPECT_EQ(count(), "Repeated 2 time(s)");

        choosePage(editor->pcBRD, editor->tsMonthly); // no day chosen: nothing
        replace();
        EXPECT_EQ(entries(), QStringList());
        EXPECT_EQ(count(), "Repeated 0 time(s)");
    });
}

TEST_F(RepeatedEventEditor, EachPageFeedsItsRule)
{
    struct PageCase {
        const char* name;
        std::function<void()> choose;
        QStringList first;
        int count;
    };
    const std::vector<PageCase> cases = {
        {"hourly", [&] {
             choosePage(editor->pcBRD, editor->tsHourly);
             editor->chkHourlyOnTue->setChecked(true);
             editor->sedtEveryXHours->setValue(0);
             editor->sedtEveryXMinutes->setValue(90);
             editor->tpHourlyTimeFrom->SetTime(at(2000, 1, 1, 8));
             editor->tpHourlyTimeTo->SetTime(at(2000, 1, 1, 11));
         }, {"2026-01-06 08:00", "2026-01-06 09:30", "2026-01-06 11:00", "2026-01-13 08:00"}, 12},
        {"daily", [&] {
             choosePage(editor->pcBRD, editor->tsDaily);
             editor->sedtEveryXDays->setValue(3);
             editor->chkDailyIgnoreSun->setChecked(true);
         }, {"2026-01-05 07:30", "2026-01-08 07:30", "2026-01-14 07:30"}, 8},
        {"weekly, every X weeks", [&] {
             choosePage(editor->pcBRD, editor->tsWeekly);
             choosePage(editor->pcWeekly, editor->tsWeeklyEvenyXWeeks);
             editor->sedtEveryXWeeks->setValue(2);
             editor->chkWeeklyOnSun->setChecked(true);
         }, {"2026-01-11 07:30", "2026-01-25 07:30"}, 2},
        {"weekly, on the...", [&] {
             choosePage(editor->pcBRD, editor->tsWeekly);
             editor->chkWeekly2nd->setChecked(true);
             editor->chkWeeklyOnWed->setChecked(true);
         }, {"2026-01-14 07:30"}, 1},
        {"monthly", [&] {
             choosePage(editor->pcBRD, editor->tsMonthly);
             editor->FMonthDays[4] = true; // the 5th
             editor->chkMonthlyIgnoreSat->setChecked(true);
         }, {"2026-01-05 07:30"}, 1},
        {"yearly from Easter", [&] {
             choosePage(editor->pcBRD, editor->tsYearly);
             editor->chkYearlyUseDaysFromEaster->setChecked(true);
             editor->sedtYearlyDaysFromEaster->setValue(-49);
         }, {}, 0},
    };
    for (const PageCase& c : cases) {
        SCOPED_TRACE(c.name);
        editor = std::make_unique<TfrmRepeatedEventEditor>();
        execute(eventAt(at(2026, 1, 5, 7, 30)), [&] {
            c.choose();
            setRange(at(2026, 1, 5, 7, 30), at(2026, 1, 31));
            replace();
            EXPECT_EQ(entries().mid(0, int(c.first.size())), c.first);
            EXPECT_EQ(editor->FDates->GetCount(), c.count);
        });
    }
}

TEST_F(RepeatedEventEditor, ShowsMidnightAsTheDateAloneAndDeletesTheSelectedLines)
{
    execute(eventAt(at(2026, 3, 1), {at(2026, 3, 2, 14, 5), at(2026, 3, 3), at(2026, 3, 4), at(2026, 3, 5)}), [&] {
        EXPECT_EQ(lines().mid(0, 2),
                  QStringList({formatDateTime("dddddd", at(2026, 3, 1)),
                               formatDateTime("dddddd", at(2026, 3, 2)) + ", " +
                                   formatDateTime("tt", at(2026, 3, 2, 14, 5))}));
        QItemSelectionModel* selection = editor->lstRepeatedDates->selectionModel();
        const QAbstractItemModel* model = editor->lstRepeatedDates->model();
        for (int row : {0, 2, 4})
            selection->select(model->index(row, 0), QItemSelectionModel::Select);
        QTest::mouseClick(editor->btnDeleteSelectedDates, Qt::LeftButton);
        EXPECT_EQ(entries(), QStringList({"2026-03-02 14:05", "2026-03-04 00:00"}));
        EXPECT_EQ(lines().size(), 2);
        EXPECT_EQ(count(), "Repeated 2 time(s)");
    });
}

TEST_F(RepeatedEventEditor, GridCellsToggleAtEveryClickAndKeyAndNeverKeepTheFocus)
{
    execute(eventAt(at(2026, 3, 1)), [&] {
        choosePage(editor->pcBRD, editor->tsMonthly);
        EXPECT_EQ(editor->VirtualStringTree1->model()->index(4, 3).data().toString(), "Last");
        EXPECT_EQ(editor->VirtualStringTree1->model()->index(4, 2).data().toString(), "31");
        EXPECT_EQ(editor->VirtualStringTree1->model()->index(4, 4).data().toString(), "");

        clickCell(4, 3);
        EXPECT_TRUE(editor->FMonthDays[31]);
        EXPECT_EQ(cellColour(4, 3), Yellow);
        clickCell(4, 3);
        EXPECT_FALSE(editor->FMonthDays[31]);
        EXPECT_NE(cellColour(4, 3), Yellow);

        const auto before = editor->FMonthDays;
        clickCell(4, 5); // an empty cell after "Last"
        EXPECT_EQ(editor->FMonthDays, before);

        // A double click: the second press comes as a double-click event.
        clickCell(1, 1);
        QTest::mouseDClick(editor->VirtualStringTree1->viewport(), Qt::LeftButton, {}, cell(1, 1));
        EXPECT_FALSE(editor->FMonthDays[8]) << "a double click is two clicks";
        clickCell(1, 1);
        EXPECT_TRUE(editor->FMonthDays[8]);
        EXPECT_EQ(cellColour(1, 1), Yellow);

        // The focus never stays on a cell, so every key tries the first cell again.
        QTest::keyClick(editor->VirtualStringTree1, Qt::Key_Right);
        EXPECT_TRUE(editor->FMonthDays[0]);
        QTest::keyClick(editor->VirtualStringTree1, Qt::Key_Down);
        EXPECT_FALSE(editor->FMonthDays[0]);
        EXPECT_FALSE(editor->VirtualStringTree1->currentIndex().isValid());

        const QImage picture = editor->VirtualStringTree1->grab().toImage();
        EXPECT_EQ(picture.size(), QSize(253, 101));
        EXPECT_EQ(picture.pixelColor(0, 50), QColor(Qt::black)) << "left edge";
        EXPECT_EQ(picture.pixelColor(252, 50), QColor(Qt::black)) << "right edge";
        EXPECT_EQ(picture.pixelColor(36, 10), QColor(Qt::black)) << "line between the first two columns";
    });
}

TEST_F(RepeatedEventEditor, ProposesAnEndDateUntilTheUserSetsOne)
{
    execute(eventAt(at(2024, 1, 31, 9)), [&] {
        const struct {
            QWidget* page;
            QDate end;
        } proposals[] = {
            {editor->tsMonthly, QDate(2026, 1, 31)}, {editor->tsHourly, QDate(2024, 2, 29)},
            {editor->tsDaily, QDate(2025, 1, 31)},   {editor->tsWeekly, QDate(2025, 1, 31)},
            {editor->tsYearly, QDate(2034, 1, 31)},
        };
        for (const auto& proposal : proposals) {
            choosePage(editor->pcBRD, proposal.page);
            EXPECT_EQ(editor->dtpEndDate->date(), proposal.end) << editor->pcBRD->tabText(editor->pcBRD->currentIndex());
        }
        EXPECT_FALSE(editor->FEndDateChanged);

        editor->dtpStartDate->setDate(QDate(2024, 5, 1));
        EXPECT_EQ(editor->dtpEndDate->date(), QDate(2034, 1, 31)) << "a new start moves nothing by itself";
        EXPECT_EQ(exact(editor->dtpStartDate->DateTime()), "2024-05-01 09:00:00") << "the start keeps its time";

        editor->dtpEndDate->setFocus();
        editor->dtpEndDate->setCurrentSection(QDateTimeEdit::YearSection);
        QTest::keyClick(editor->dtpEndDate, Qt::Key_Up);
        EXPECT_EQ(editor->dtpEndDate->date(), QDate(2035, 1, 31));
        EXPECT_TRUE(editor->FEndDateChanged);
        choosePage(editor->pcBRD, editor->tsMonthly);
        EXPECT_EQ(editor->dtpEndDate->date(), QDate(2035, 1, 31));
    });
}

TEST_F(RepeatedEventEditor, ANumberBoxWithoutANumberGivesItsMinimum)
{
    const auto empty = [](QSpinBox* box, int before) {
        box->setValue(before);
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
    };
    execute(eventAt(at(2026, 1, 5, 7, 30)), [&] { // a Monday
        choosePage(editor->pcBRD, editor->tsDaily);
        setRange(at(2026, 1, 5, 7, 30), at(2026, 1, 7));
        empty(editor->sedtEveryXDays, 3);
        replace();
        EXPECT_EQ(entries(), QStringList({"2026-01-05 07:30", "2026-01-06 07:30", "2026-01-07 07:30"})) << "every day";
        EXPECT_EQ(editor->sedtEveryXDays->value(), 1);

        choosePage(editor->pcBRD, editor->tsHourly);
        setRange(at(2026, 1, 5, 7, 30), at(2026, 1, 5));
        editor->chkHourlyOnMon->setChecked(true);
        editor->tpHourlyTimeFrom->SetTime(at(2000, 1, 1, 8));
        editor->tpHourlyTimeTo->SetTime(at(2000, 1, 1, 9));
        editor->sedtEveryXMinutes->setValue(30);
        empty(editor->sedtEveryXHours, 1);
        replace();
        EXPECT_EQ(entries(), QStringList({"2026-01-05 08:00", "2026-01-05 08:30", "2026-01-05 09:00"}))
            << "no hours, 30 minutes";

        choosePage(editor->pcBRD, editor->tsYearly);
        setRange(at(2026, 1, 5, 7, 30), at(2026, 12, 31));
        editor->chkYearlyUseDaysFromEaster->setChecked(true);
        empty(editor->sedtYearlyDaysFromEaster, -2);
        replace();
        EXPECT_EQ(entries(), QStringList({"2026-04-05 07:30"})) << "Easter Sunday itself";
    });
}

// Dark and large: every page fits, every grid day can be picked, a chosen day reads
// on yellow, each date is one 12 px line.
TEST(RepeatedEventEditorLook, EveryPageFitsAndEveryTextReadsUnderADarkLargeLook)
{
    for (int pixels : testing_support::LargeFontPixels) {
        SCOPED_TRACE(std::to_string(pixels) + " px");
        testing_support::DarkLargeLook look(pixels);
        TfrmRepeatedEventEditor editor;
        QTimer::singleShot(0, &editor, [&] {
            const auto check = [&](const QString& name) {
                QTest::qWait(1);
                EXPECT_EQ(testing_support::layoutFaults(editor), "") << name.toStdString();
            };
            for (QWidget* page : {editor.tsHourly, editor.tsDaily, editor.tsMonthly, editor.tsYearly}) {
                editor.pcBRD->setCurrentWidget(page);
                check(page->objectName());
            }
            editor.pcBRD->setCurrentWidget(editor.tsWeekly);
            for (QWidget* inner : {editor.tsWeeklyEvenyXWeeks, editor.tsWeeklyOnThe}) {
                editor.pcWeekly->setCurrentWidget(inner);
                check(inner->objectName());
            }

            // A day of the whole year at a two-digit hour: the longest names are among them.
            editor.pcBRD->setCurrentWidget(editor.tsDaily);
            editor.dtpEndDate->SetDateTime(at(2026, 12, 31));
            QTest::mouseClick(editor.btnReplaceDates, Qt::LeftButton);
            const QListView* list = editor.lstRepeatedDates;
            ASSERT_EQ(list->model()->rowCount(), 365);
            EXPECT_TRUE(QFontInfo(list->font()).fixedPitch()) << QFontInfo(list->font()).family().toStdString();
            const QFontMetrics metrics(list->font());
            EXPECT_LE(metrics.height(), 12);
            const int textMargin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
            for (int row = 0; row < list->model()->rowCount(); ++row) {
                const QModelIndex line = list->model()->index(row, 0);
                const QRect rect = list->visualRect(line);
                EXPECT_EQ(rect.height(), 12);
                EXPECT_LE(rect.left() + textMargin + metrics.horizontalAdvance(line.data().toString()),
                          list->viewport()->width())
                    << line.data().toString().toStdString();
            }

            // The grid keeps the design's cells, so the last column's days are there to pick.
            editor.pcBRD->setCurrentWidget(editor.tsMonthly);
            MonthDaysGrid* grid = editor.VirtualStringTree1;
            testing_support::savePicture(editor, QStringLiteral("repeated-monthly-%1px").arg(pixels));
            EXPECT_EQ(grid->size(), QSize(253, 101));
            for (int day : {7, 14, 21, 28}) {
                const QRect shown = grid->visualRect(grid->model()->index(day / 7 - 1, 6)) & grid->viewport()->rect();
                ASSERT_FALSE(shown.isEmpty()) << day;
                QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, shown.center());
                EXPECT_TRUE(editor.FMonthDays[static_cast<size_t>(day - 1)]) << day;
            }
            const QRect cell = grid->visualRect(grid->model()->index(1, 2)).adjusted(2, 2, -2, -2); // "10"
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
            EXPECT_GE(testing_support::strongestContrast(grid->viewport()->grab().toImage(), cell, Yellow), 4.5)
                << "the day's number on the yellow of a chosen day";
            editor.reject();
        });
        editor.Execute(eventAt(at(2026, 1, 1, 22, 58)));
    }
}

namespace {

struct EditResult {
    bool confirmed = false;
    TDateTime shownStart = 0; // the edit dialog's date picker once the editor closed
    std::unique_ptr<TEvent> event;
};

// Presses "Repeated..." in the edit dialog, runs Act in the editor and closes both.
EditResult editRepeats(const TEvent& event, const std::function<void(TfrmRepeatedEventEditor&)>& act,
                       bool confirmEditor = true)
{
    TfrmEditEvent dialog;
    EditResult result;
    QTimer::singleShot(0, &dialog, [&] {
        QTimer::singleShot(0, &dialog, [&] {
            auto* editor = dialog.findChild<TfrmRepeatedEventEditor*>();
            if (!editor)
                return;
            act(*editor);
            QTest::mouseClick(confirmEditor ? editor->btnDone : editor->btnCancel, Qt::LeftButton);
        });
        QTest::mouseClick(dialog.btnRepeated, Qt::LeftButton);
        result.shownStart = dialog.dtpStartDate->DateTime();
        QTest::mouseClick(dialog.btnDone, Qt::LeftButton);
    });
    result.confirmed = dialog.Execute(&event, {"General"});
    result.event = std::make_unique<TEvent>();
    TEvent::Copy(*dialog.FEvent, *result.event);
    return result;
}

QStringList repeatsOf(const TEvent& event)
{
    QStringList texts;
    for (int i = 0; i < event.RepeatedDates->GetCount(); ++i)
        texts << exact(event.RepeatedDates->GetItem(i)->DateTime);
    return texts;
}

} // namespace

TEST(RepeatedDatesInTheEditDialog, EntryZeroBecomesTheStartAndTheRestTheRepeats)
{
    TEvent event = eventAt(at(2026, 3, 10, 9), {at(2026, 3, 17, 9), at(2026, 3, 24, 9)});
    event.UseTime = true;

    // Earlier dates added are sorted in: the earliest becomes the start.
    EditResult added = editRepeats(event, [](TfrmRepeatedEventEditor& editor) {
        editor.pcBRD->setCurrentWidget(editor.tsDaily);
        editor.dtpStartDate->SetDateTime(at(2026, 3, 8, 9));
        editor.dtpEndDate->SetDateTime(at(2026, 3, 9));
        QTest::mouseClick(editor.btnAddDates, Qt::LeftButton);
    });
    ASSERT_TRUE(added.confirmed);
    EXPECT_EQ(exact(added.event->GetStartDate()), "2026-03-08 09:00:00");
    EXPECT_EQ(exact(added.shownStart), "2026-03-08 09:00:00");
    EXPECT_EQ(repeatsOf(*added.event), QStringList({"2026-03-09 09:00:00", "2026-03-10 09:00:00",
                                                    "2026-03-17 09:00:00", "2026-03-24 09:00:00"}));

    // Deleting the start makes the next entry the start.
    EditResult deleted = editRepeats(event, [](TfrmRepeatedEventEditor& editor) {
        editor.lstRepeatedDates->setCurrentIndex(editor.lstRepeatedDates->model()->index(0, 0));
        QTest::mouseClick(editor.btnDeleteSelectedDates, Qt::LeftButton);
    });
    EXPECT_EQ(exact(deleted.event->GetStartDate()), "2026-03-17 09:00:00");
    EXPECT_EQ(repeatsOf(*deleted.event), QStringList({"2026-03-24 09:00:00"}));

    // An empty list keeps the start and leaves no repeated dates.
    EditResult emptied = editRepeats(event, [](TfrmRepeatedEventEditor& editor) {
        editor.pcBRD->setCurrentWidget(editor.tsMonthly); // no day chosen
        QTest::mouseClick(editor.btnReplaceDates, Qt::LeftButton);
        EXPECT_EQ(editor.FDates->GetCount(), 0);
    });
    EXPECT_EQ(exact(emptied.event->GetStartDate()), "2026-03-10 09:00:00");
    EXPECT_EQ(repeatsOf(*emptied.event), QStringList());

    // Cancel in the editor changes nothing.
    EditResult cancelled = editRepeats(
        event, [](TfrmRepeatedEventEditor& editor) { QTest::mouseClick(editor.btnReplaceDates, Qt::LeftButton); },
        false);
    EXPECT_EQ(exact(cancelled.event->GetStartDate()), "2026-03-10 09:00:00");
    EXPECT_EQ(repeatsOf(*cancelled.event), QStringList({"2026-03-17 09:00:00", "2026-03-24 09:00:00"}));
}
