// Which occurrences the event list shows: the view's date range and the filters.
#include "MainForm.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QTreeView>

#include "EventViewModel.h"
#include "events/Exceptions.h"
#include "platform/gui/ErrorReport.h"

namespace {

constexpr TDateTime EarliestDateTime = -657434;     // 0100-01-01 00:00
constexpr TDateTime LatestDateTime = 2958465.99999; // less than a second before the end of 9999
constexpr TDateTime LastDay = 2958465;              // 9999-12-31, the last day a date can hold

struct DateRange {
    TDateTime From;
    TDateTime To;
};

TDateTime endOfDay(TDateTime Day)
{
    return Day + encodeTime(23, 59, 59, 999);
}

TDateTime firstOfMonth(TDateTime Day)
{
    int year = 0, month = 0, day = 0;
    decodeDate(Day, year, month, day);
    return encodeDate(year, month, 1);
}

bool beyondLastMonth(TDateTime Day, int Months)
{
    int year = 0, month = 0, day = 0;
    decodeDate(Day, year, month, day);
    return year * 12 + month - 1 + Months > 9999 * 12 + 11;
}

// The end of a range that runs Months months from Day; one that would pass the
// end of 9999 ends at the last moment a date can hold.
TDateTime monthsLater(TDateTime Day, int Months)
{
    return beyondLastMonth(Day, Months) ? endOfDay(LastDay) : incMonth(Day, Months);
}

// The last moment of the Months whole months that begin with First's month.
TDateTime endOfMonths(TDateTime First, int Months)
{
    return beyondLastMonth(First, Months) ? endOfDay(LastDay) : endOfDay(incMonth(First, Months) - 1);
}

// The range of view number View around the selected day S (a whole day).
DateRange eventViewRange(int View, TDateTime S)
{
    int year = 0, month = 0, day = 0;
    decodeDate(S, year, month, day);
    switch (View) {
    case 0:
        return {EarliestDateTime, LatestDateTime};
    case 1:
        return {S, endOfDay(S)};
    case 2: {
        // From the Sunday on or before S, for eight calendar days.
        const TDateTime sunday = S - dayOfTheWeek(S) % 7;
        return {sunday, sunday + 7};
    }
    case 3:
        return {S, S + 7};
    case 4:
        return {S, S + 14};
    case 5:
        return {firstOfMonth(S), endOfMonths(firstOfMonth(S), 1)};
    case 6:
        return {firstOfMonth(S), endOfMonths(firstOfMonth(S), 2)};
    case 7:
        return {S, monthsLater(S, 2)};
    case 8:
        return {encodeDate(year, 1, 1), endOfDay(encodeDate(year, 12, 31))};
    case 9:
        return {EarliestDateTime, Now()};
    default:
        return {S, S};
    }
}

} // namespace

void TfrmQuillet::setupViewsAndFilters()
{
    connect(cboEventView, &QComboBox::activated, this, [this] { reportingErrors([this] { cboEventViewChange(); }); });
    for (QCheckBox* box : {chkFilterImpHighest, chkFilterImpHigh, chkFilterImpNormal, chkFilterImpLow})
        connect(box, &QCheckBox::clicked, this, [this] { reportingErrors([this] { chkFilterImpClick(); }); });
    connect(mnuitmOnlyEnabledEvents, &QAction::triggered, this,
            [this] { reportingErrors([this] { mnuitmOnlyEnabledEventsClick(); }); });
}

void TfrmQuillet::RefreshEventView()
{
    wrapExceptions("TfrmQuillet.RefreshEventView", [this] {
        if (!FEventList)
            return;
        const DateRange range = eventViewRange(cboEventView->currentIndex(), dateOf(GetSelectedDate()));

        QStringList categories;
        for (int i = 0; i < clstCategories->count(); ++i)
            if (clstCategories->item(i)->checkState() == Qt::Checked)
                categories << clstCategories->item(i)->text();

        const QModelIndex top = vstEvents->indexAt(QPoint(0, 0));
        const int topRow = top.isValid() ? top.row() : 0;

        TEventList::ClearEventView(FEventView);
        FEventViewModel->clearRows();
        vstEvents->scrollToTop();

        FEventList->GetEventView(categories, !categories.isEmpty(), range.From, range.To,
                                 !mnuitmOnlyEnabledEvents->isChecked(), true, chkFilterImpLow->isChecked(),
                                 chkFilterImpNormal->isChecked(), chkFilterImpHigh->isChecked(),
                                 chkFilterImpHighest->isChecked(), FEventView);
        FEventViewModel->setRows(*FEventList, FEventView);

        // The same row position stays at the top; nothing is selected.
        vstEvents->clearSelection();
        if (topRow > 0 && topRow < FEventViewModel->rowCount())
            vstEvents->scrollTo(FEventViewModel->index(topRow, 0), QAbstractItemView::PositionAtTop);

        repaintCalendars();
    });
}

void TfrmQuillet::FocusNearestEvent()
{
    const TDateTime D = dateOf(GetSelectedDate());
    for (int row = 0; row < FEventViewModel->rowCount(); ++row) {
        const TDateTime day = dateOf(FEventViewModel->occurrenceDateTime(row));
        if (day < D)
            continue;
        const QModelIndex index = FEventViewModel->index(row, EventViewModel::ColWhen);
        // Scrolled there first: the current row is then placed from the rows
        // around it, not from every row above it (their heights differ).
        vstEvents->scrollTo(index, QAbstractItemView::PositionAtCenter);
        if (day == D)
            vstEvents->setCurrentIndex(index);
        return;
    }
}

void TfrmQuillet::cboEventViewChange()
{
    vstEvents->setFocus();
    RefreshEventView();
}

void TfrmQuillet::chkFilterImpClick()
{
    RefreshEventView();
}

void TfrmQuillet::mnuitmOnlyEnabledEventsClick()
{
    RefreshEventView();
}
