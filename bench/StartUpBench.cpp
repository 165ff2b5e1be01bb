// Start-up to the first painted main window, the whole process from its start:
// with an event file of 10,000 events of 10 repeated dates each, against an
// empty event file, and the empty file's start against a bare Qt window with a
// menu bar and a table view (startup_bare_window), in turns within one run. Run
// it on a display of your own (an Xvfb: QT_QPA_PLATFORM=xcb and DISPLAY), where
// a window is painted only once the X server has shown it.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "BenchSupport.h"
#include "events/EventList.h"

namespace {

// Milliseconds from starting Program with Environment to its first paint.
double timeToFirstPaint(const QString& program, const QProcessEnvironment& environment)
{
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    child.start(program, {});
    while (!child.canReadLine() && child.waitForReadyRead(20000)) {
    }
    const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    if (child.readLine() != "painted\n")
        std::abort();
    child.waitForFinished();
    return ms;
}

// Milliseconds from starting this program as Quillet on the file to its first paint.
double startUp(const QString& fileName)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(bench_support::FirstPaintVariable), fileName);
    return timeToFirstPaint(QCoreApplication::applicationFilePath(), environment);
}

double startUpBareWindow()
{
    return timeToFirstPaint(QCoreApplication::applicationDirPath() + QStringLiteral("/startup_bare_window"),
                            QProcessEnvironment::systemEnvironment());
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void BM_StartUpToFirstPaint(benchmark::State& state)
{
    const QString folder = bench_support::scratchFolder();
    const QString empty = folder + QStringLiteral("/Empty.events");
    QFile(empty).open(QIODevice::WriteOnly);
    const QString large = folder + QStringLiteral("/Large.events");
    bench_support::makeEventList(10000, 10)->SaveToFile(large);
    startUp(empty); // the programs and their libraries into the page cache
    startUpBareWindow();

    std::vector<double> emptyTimes, largeTimes, bareTimes;
    for (auto _ : state) {
        const double ms = startUp(large);
        state.SetIterationTime(ms / 1e3);
        largeTimes.push_back(ms);
        emptyTimes.push_back(startUp(empty));
        bareTimes.push_back(startUpBareWindow());
    }
    state.counters["empty_ms"] = median(emptyTimes);
    state.counters["bare_ms"] = median(bareTimes);
    state.counters["x_empty_file"] = median(largeTimes) / median(emptyTimes);
    state.counters["x_bare_window"] = median(emptyTimes) / median(bareTimes);
}
BENCHMARK(BM_StartUpToFirstPaint)->UseManualTime()->Iterations(9)->Unit(benchmark::kMillisecond)->Repetitions(3);

} // namespace
