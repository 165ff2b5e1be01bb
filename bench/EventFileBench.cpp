#include <QFile>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "BenchSupport.h"
#include "events/EventList.h"

namespace {

// The machines these run on are shared: the fastest of several runs is the
// figure that tells the code's own cost.
double fastest(const std::vector<double>& times)
{
    return *std::min_element(times.begin(), times.end());
}

// A saved file of `events` events with 10 repeated dates each; written once per size.
QString eventFile(int events)
{
    const QString name = bench_support::scratchFolder() + QStringLiteral("/Events%1.events").arg(events);
    if (!QFile::exists(name))
        bench_support::makeEventList(events, 10)->SaveToFile(name);
    return name;
}

void BM_LoadFromFile(benchmark::State& state)
{
    const QString name = eventFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto list = std::make_unique<TEventList>();
        list->LoadFromFile(name, false);
        benchmark::DoNotOptimize(list->Count());
        // Freeing the list is no part of the load. The freed memory goes back to
        // the system, so that every load starts as the program's one load does,
        // with memory that is new to the process.
        state.PauseTiming();
        list.reset();
        malloc_trim(0);
        state.ResumeTiming();
    }
    state.counters["MB"] = static_cast<double>(QFile(name).size()) / 1e6;
}
BENCHMARK(BM_LoadFromFile)
    ->Arg(10000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", fastest);

void BM_SaveToFile(benchmark::State& state)
{
    const auto list = bench_support::makeEventList(static_cast<int>(state.range(0)), 10);
    const QString name = bench_support::scratchFolder() + QStringLiteral("/Saved.events");
    for (auto _ : state) {
        list->SaveToFile(name);
        state.PauseTiming(); // as for the load: new memory for every save
        malloc_trim(0);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SaveToFile)
    ->Arg(10000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", fastest);

// The export of a view of 2,000 rows: the sort and the page.
void BM_ExportToHTML(benchmark::State& state)
{
    const auto list = bench_support::makeEventList(200, 9);
    const QString name = bench_support::scratchFolder() + QStringLiteral("/Events.html");
    TListViewEventItems items;
    for (auto _ : state) {
        state.PauseTiming();
        TEventList::ClearEventView(items);
        list->GetEventView({}, false, MinDateTime, MaxDateTime, true, true, false, false, false, false, items);
        state.ResumeTiming();
        list->ExportToHTML(items, QStringLiteral("Quillet"), QStringLiteral("View: All"), QStringLiteral("Now"), name);
    }
    state.counters["rows"] = static_cast<double>(items.size());
}
BENCHMARK(BM_ExportToHTML)->Unit(benchmark::kMillisecond)->Repetitions(5)->ComputeStatistics("min", fastest);

} // namespace
