#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "events/EventList.h"

namespace {

// 10,000 events with 10 repeated dates each: 110,000 occurrences over about five years.
const TEventList& eventList()
{
    static const auto list = bench_support::makeEventList(10000, 10);
    return *list;
}

// The main window's way: release the old view, build the new one.
void buildView(benchmark::State& state, TDateTime from, TDateTime to)
{
    const TEventList& list = eventList();
    TListViewEventItems items;
    for (auto _ : state) {
        TEventList::ClearEventView(items);
        list.GetEventView({}, false, from, to, false, true, false, false, false, false, items);
        benchmark::DoNotOptimize(items.data());
    }
    state.counters["rows"] = static_cast<double>(items.size());
}

void BM_GetEventView_OneMonth(benchmark::State& state)
{
    int year = 0, month = 0, day = 0;
    decodeDate(Date(), year, month, day);
    buildView(state, encodeDate(year, month, 1), encodeDate(year, month, daysInMonth(year, month)));
}
BENCHMARK(BM_GetEventView_OneMonth)->Unit(benchmark::kMillisecond);

void BM_GetEventView_AllDates(benchmark::State& state)
{
    buildView(state, MinDateTime, MaxDateTime);
}
BENCHMARK(BM_GetEventView_AllDates)->Unit(benchmark::kMillisecond);

// Sorting the rows of an export: state.range(0) rows in the list's order.
void BM_SortEventView(benchmark::State& state)
{
    const TEventList& list = eventList();
    TListViewEventItems rows;
    for (auto _ : state) {
        state.PauseTiming();
        TEventList::ClearEventView(rows);
        for (int i = 0; i < state.range(0); ++i)
            rows.push_back(std::make_unique<TListViewEventItem>(i / 11, i % 11 - 1));
        state.ResumeTiming();
        list.SortEventView(rows);
    }
}
BENCHMARK(BM_SortEventView)->Arg(1000)->Arg(3000)->Arg(5000)->Unit(benchmark::kMillisecond);

} // namespace
