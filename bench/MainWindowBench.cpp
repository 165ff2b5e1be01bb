// The main window's event list with 10,000 events of 10 repeated dates each
// (110,000 occurrences): refilling it for a view and painting a screenful; and
// one row whose title, or whose notes in its hint, are very long.
#include <QComboBox>
#include <QPainter>
#include <QPixmap>
#include <QScrollArea>
#include <QTreeView>

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "app/EventPictures.h"
#include "app/EventRowDelegate.h"
#include "app/EventViewModel.h"
#include "app/MainForm.h"

namespace {

// One window for all benchmarks, holding the large list, shown at its default size.
TfrmQuillet& window()
{
    TfrmQuillet& frm = bench_support::mainWindowWithLargeList();
    frm.show();
    return frm;
}

// Refills the list for a view while the user looks at the given row; the list's
// layout (the position of that row at the top) is part of the refresh.
void refreshView(benchmark::State& state, int view, int topRow)
{
    TfrmQuillet& frm = window();
    frm.cboEventView->setCurrentIndex(view);
    frm.RefreshEventView();
    frm.vstEvents->scrollTo(frm.FEventViewModel->index(topRow, 0), QAbstractItemView::PositionAtTop);
    for (auto _ : state)
        frm.RefreshEventView();
    state.counters["rows"] = static_cast<double>(frm.FEventViewModel->rowCount());
    state.counters["top"] = frm.vstEvents->indexAt(QPoint(0, 0)).row();
}

void BM_RefreshEventView_AllEvents(benchmark::State& state)
{
    refreshView(state, 0, 55000);
}
BENCHMARK(BM_RefreshEventView_AllEvents)->Unit(benchmark::kMillisecond);

void BM_RefreshEventView_ForTheMonth(benchmark::State& state)
{
    refreshView(state, 5, 0);
}
BENCHMARK(BM_RefreshEventView_ForTheMonth)->Unit(benchmark::kMillisecond);

// A screenful of rows in the middle of "[All Events]", every cell's text computed.
void BM_PaintScreenful(benchmark::State& state)
{
    TfrmQuillet& frm = window();
    frm.cboEventView->setCurrentIndex(0);
    frm.RefreshEventView();
    QTreeView* list = frm.vstEvents;
    list->scrollTo(frm.FEventViewModel->index(frm.FEventViewModel->rowCount() / 2, 0),
                   QAbstractItemView::PositionAtTop);
    QPixmap canvas(list->viewport()->size());
    for (auto _ : state)
        list->viewport()->render(&canvas);
    state.counters["rows"] = list->viewport()->height() / 40.0;
}
BENCHMARK(BM_PaintScreenful)->Unit(benchmark::kMillisecond);

// The five calendars, whose days are marked from the whole list as they paint.
void BM_PaintCalendarStrip(benchmark::State& state)
{
    TfrmQuillet& frm = window();
    QWidget* strip = frm.ScrollBox1->widget();
    QPixmap canvas(strip->size());
    for (auto _ : state)
        strip->render(&canvas);
}
BENCHMARK(BM_PaintCalendarStrip)->Unit(benchmark::kMillisecond);

// The list's model over a list of one event.
struct OneEventModel {
    explicit OneEventModel(const TEvent& event)
    {
        events.AddEvent(event);
        view.push_back(std::make_unique<TListViewEventItem>(0, -1));
        model.setRows(events, view);
    }
    ~OneEventModel() { model.clearRows(); }

    TEventList events;
    TListViewEventItems view;
    const PictureList alarmRepeat{makeAlarmRepeatPictures(1)};
    const PictureList priority{makePriorityPictures(1)};
    EventViewModel model{alarmRepeat, priority};
};

// The six cells of a row whose title runs to state.range(0) characters of words,
// in columns of the design's widths: only the title's beginning that the row can
// show is laid out, however long the title is.
void BM_PaintRowWithLongTitle(benchmark::State& state)
{
    QString title;
    for (int i = 0; title.size() < state.range(0); ++i)
        title += QStringLiteral("word%1 ").arg(i % 1000);
    title.truncate(state.range(0));
    TEvent event;
    event.SetStartDate(Now() + 1);
    event.Description = title;
    const OneEventModel row(event);
    QTreeView list;
    list.resize(800, 600);
    EventRowDelegate delegate;
    QPixmap canvas(600, 40);
    QPainter painter(&canvas);
    QStyleOptionViewItem option;
    option.font = list.font();
    option.widget = &list;
    option.state = QStyle::State_Enabled;
    constexpr int Widths[EventViewModel::ColumnCount] = {36, 110, 90, 20, 235, 60};
    for (auto _ : state) {
        int x = 0;
        for (int column = 0; column < EventViewModel::ColumnCount; ++column) {
            option.rect = QRect(x, 0, Widths[column], 40);
            x += Widths[column];
            delegate.paint(&painter, option, row.model.index(0, column));
        }
    }
}
BENCHMARK(BM_PaintRowWithLongTitle)->Arg(50)->Arg(3'000'000)->Unit(benchmark::kMicrosecond);

// The hint of a row whose notes run to state.range(0) characters in lines of words:
// its text as the list asks for it when the mouse rests on the row.
void BM_HintOfLongNotes(benchmark::State& state)
{
    QString notes;
    for (int i = 0; notes.size() < state.range(0); ++i)
        notes += QStringLiteral("Line %1 of the notes\r\n").arg(i);
    notes.truncate(state.range(0));
    TEvent event;
    event.SetStartDate(Now() + 1);
    event.Notes = notes;
    const OneEventModel row(event);
    for (auto _ : state)
        benchmark::DoNotOptimize(row.model.index(0, EventViewModel::ColEvent).data(Qt::ToolTipRole));
}
BENCHMARK(BM_HintOfLongNotes)->Arg(50)->Arg(3'000'000)->Unit(benchmark::kMicrosecond);

} // namespace
