// The categories panel taking in the names that an import brought, against half
// as many: about 2 when the time grows linearly with the names.
#include <QListWidget>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>

#include "BenchSupport.h"
#include "app/MainForm.h"
#include "events/EventList.h"

namespace {

// Seconds that the panel takes to show `names` new names, and again to let them go.
double refreshWithNewNames(TfrmQuillet& frm, int names)
{
    const QStringList before = frm.FEventList->Categories;
    for (int i = 0; i < names; ++i)
        frm.FEventList->AddCategory(QStringLiteral("Imported %1").arg(i));
    const auto start = std::chrono::steady_clock::now();
    frm.RefreshCategories(true);
    if (frm.clstCategories->count() != before.size() + names)
        std::abort();
    frm.FEventList->Categories = before;
    frm.RefreshCategories(true);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_RefreshCategories_AfterImport(benchmark::State& state)
{
    TfrmQuillet& frm = bench_support::mainWindowWithLargeList();
    const int names = static_cast<int>(state.range(0));
    double whole = 0, half = 0;
    for (auto _ : state) {
        const double seconds = refreshWithNewNames(frm, names);
        state.SetIterationTime(seconds);
        whole += seconds;
        half += refreshWithNewNames(frm, names / 2);
    }
    state.counters["x_half_size"] = whole / half;
}
BENCHMARK(BM_RefreshCategories_AfterImport)
    ->Arg(10000)
    ->Arg(40000)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace
