// The event file's load and save against the cost of their bytes: reading the
// file into new memory, and writing it the way a safe save must. The ratios are
// taken within one benchmark, each step timed beside its floor, so they hold on
// a loaded machine too.
#include <QFile>
#include <QSaveFile>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
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

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Seconds that the action takes.
double timeOf(const std::function<void()>& action)
{
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A saved file of `events` events with 10 repeated dates each; written once per size.
QString eventFile(int events)
{
    const QString name = bench_support::scratchFolder() + QStringLiteral("/Events%1.events").arg(events);
    if (!QFile::exists(name))
        bench_support::makeEventList(events, 10)->SaveToFile(name);
    return name;
}

// Freed memory goes back to the system, so that every step starts as the
// program's one load does, with memory that is new to the process.
void returnFreedMemory()
{
    malloc_trim(0);
}

// The resident set's high-water mark, in bytes, restarted from the present size.
void restartPeakMemory()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

double residentBytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0)
            return std::strtod(line.c_str() + std::string(field).size(), nullptr) * 1024;
    return 0;
}

// The read floor: the file's bytes read into newly allocated memory.
void readIntoNewMemory(const QString& name)
{
    const QByteArray path = QFile::encodeName(name);
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    const auto size = static_cast<size_t>(::lseek(fd, 0, SEEK_END));
    char* buffer = static_cast<char*>(std::malloc(size));
    size_t done = 0;
    for (ssize_t got = 1; done < size && got > 0; done += static_cast<size_t>(got))
        got = ::pread(fd, buffer + done, size - done, static_cast<off_t>(done));
    ::close(fd);
    benchmark::DoNotOptimize(buffer[size / 2]);
    std::free(buffer);
}

// The write floor: the same number of bytes as a save writes, to a new file in
// the same folder that is flushed to disk and renamed over the old one.
void writeSafely(const QString& name, const QByteArray& bytes)
{
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        std::abort();
}

double loadTime(const QString& name, int events, double* peakBytes = nullptr)
{
    returnFreedMemory();
    restartPeakMemory();
    const double before = residentBytes("VmRSS:");
    auto list = std::make_unique<TEventList>();
    const double seconds = timeOf([&] { list->LoadFromFile(name, false); });
    if (peakBytes)
        *peakBytes = residentBytes("VmHWM:") - before;
    if (list->Count() != events)
        std::abort(); // a load that fails proves nothing
    return seconds;
}

void BM_LoadFromFile(benchmark::State& state)
{
    const int events = static_cast<int>(state.range(0));
    const QString name = eventFile(events);
    const QString half = eventFile(events / 2);
    const double fileBytes = static_cast<double>(QFile(name).size());
    std::vector<double> loads, floors, halves, peaks;
    for (auto _ : state) {
        double peak = 0;
        const double load = loadTime(name, events, &peak);
        state.SetIterationTime(load);
        state.PauseTiming();
        loads.push_back(load);
        peaks.push_back(peak);
        returnFreedMemory();
        floors.push_back(timeOf([&] { readIntoNewMemory(name); }));
        halves.push_back(loadTime(half, events / 2));
        state.ResumeTiming();
    }
    state.counters["MB"] = fileBytes / 1e6;
    state.counters["read_floor_ms"] = median(floors) * 1e3;
    state.counters["x_read_floor"] = median(loads) / median(floors);
    state.counters["x_half_size"] = median(loads) / median(halves);
    state.counters["peak_x_file"] = median(peaks) / fileBytes;
}
BENCHMARK(BM_LoadFromFile)
    ->Arg(10000)
    ->Arg(20000)
    ->UseManualTime()
    ->Iterations(15)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ComputeStatistics("min", fastest);

// A file of `names` categories and one event, written as the program writes it.
QString categoryFile(int names)
{
    const QString name = bench_support::scratchFolder() + QStringLiteral("/Categories%1.events").arg(names);
    if (!QFile::exists(name)) {
        QByteArray bytes = "<QuilletEventFile>\r\n<Version>QV3.0</Version>\r\n<Categories>";
        for (int i = 0; i < names; ++i)
            bytes += "Category " + QByteArray::number(i) + "\r\n";
        bytes += "</Categories>\r\n<Events>\r\n<Event></Event>\r\n</Events>\r\n</QuilletEventFile>\r\n";
        QFile file(name);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            std::abort();
    }
    return name;
}

// The load of many categories, each looked up among those before it, against
// the load of half as many: about 2 when the time grows linearly with the file.
void BM_LoadCategories(benchmark::State& state)
{
    const int names = static_cast<int>(state.range(0));
    const QString name = categoryFile(names);
    const QString half = categoryFile(names / 2);
    const auto loadNames = [](const QString& file, int count) {
        TEventList list;
        const double seconds = timeOf([&] { list.LoadFromFile(file, false); });
        if (list.Categories.size() != count)
            std::abort();
        return seconds;
    };
    std::vector<double> loads, halves;
    for (auto _ : state) {
        loads.push_back(loadNames(name, names));
        state.SetIterationTime(loads.back());
        state.PauseTiming();
        halves.push_back(loadNames(half, names / 2));
        state.ResumeTiming();
    }
    state.counters["x_half_size"] = median(loads) / median(halves);
}
BENCHMARK(BM_LoadCategories)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(40000)
    ->Arg(200000)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

void BM_ReadFloor(benchmark::State& state)
{
    const QString name = eventFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        readIntoNewMemory(name);
        state.PauseTiming();
        returnFreedMemory();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ReadFloor)->Arg(10000)->Unit(benchmark::kMillisecond)->Repetitions(3)->ComputeStatistics("min", fastest);

double saveTime(TEventList& list, const QString& name)
{
    returnFreedMemory();
    return timeOf([&] { list.SaveToFile(name); });
}

void BM_SaveToFile(benchmark::State& state)
{
    const int events = static_cast<int>(state.range(0));
    const auto list = bench_support::makeEventList(events, 10);
    const auto halfList = bench_support::makeEventList(events / 2, 10);
    const QString name = bench_support::scratchFolder() + QStringLiteral("/Saved.events");
    list->SaveToFile(name);
    QFile saved(name);
    saved.open(QIODevice::ReadOnly);
    const QByteArray bytes(saved.size(), 'x');
    std::vector<double> saves, floors, halves;
    for (auto _ : state) {
        const double save = saveTime(*list, name);
        state.SetIterationTime(save);
        state.PauseTiming();
        saves.push_back(save);
        floors.push_back(timeOf([&] { writeSafely(name, bytes); }));
        halves.push_back(saveTime(*halfList, name));
        state.ResumeTiming();
    }
    state.counters["MB"] = static_cast<double>(bytes.size()) / 1e6;
    state.counters["write_floor_ms"] = median(floors) * 1e3;
    state.counters["x_write_floor"] = median(saves) / median(floors);
    state.counters["x_half_size"] = median(saves) / median(halves);
}
BENCHMARK(BM_SaveToFile)
    ->Arg(10000)
    ->Arg(20000)
    ->UseManualTime()
    ->Iterations(15)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ComputeStatistics("min", fastest);

void BM_WriteFloor(benchmark::State& state)
{
    const QString name = bench_support::scratchFolder() + QStringLiteral("/Floor.events");
    const QByteArray bytes(QFile(eventFile(static_cast<int>(state.range(0)))).size(), 'x');
    for (auto _ : state)
        writeSafely(name, bytes);
}
BENCHMARK(BM_WriteFloor)->Arg(10000)->Unit(benchmark::kMillisecond)->Repetitions(3)->ComputeStatistics("min", fastest);

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
