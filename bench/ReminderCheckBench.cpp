// The main window's timed work on 10,000 events of 10 repeated dates each: the
// reminder check every five seconds, and a save with its backup copy.
#include <QDateTime>
#include <QFileInfo>

#include <sys/resource.h>

#include <chrono>
#include <csignal>

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "app/MainForm.h"
#include "dialogs/EventNotify.h"
#include "events/EventList.h"
#include "platform/SoundPlayer.h"

namespace {

class SilentSoundPlayer : public SoundPlayer {
public:
    void play(const QString&) override {}
};

// One window for all benchmarks with the large list; the benchmarks run its
// timers' work themselves, without sound and with the pop-up sliding at once.
TfrmQuillet& window()
{
    static SilentSoundPlayer silence;
    setSoundPlayer(&silence);
    TfrmEventNotify::setSlideStepDelay(0);
    return bench_support::mainWindowWithLargeList();
}

// Every occurrence's reminder computed as if the list was loaded at Now.
void loadAt(TfrmQuillet& frm, TDateTime Now)
{
    setNowForTests(Now);
    for (int i = 0; i < frm.FEventList->Count(); ++i)
        frm.FEventList->GetEvent(i)->RecalculateNoticationTimes();
}

// The usual check: 110,000 occurrences looked at, none due.
void BM_ReminderCheck_NothingDue(benchmark::State& state)
{
    TfrmQuillet& frm = window();
    loadAt(frm, Date() - 3000);
    for (auto _ : state)
        frm.tmrCheckEventsTimer();
    state.counters["due"] = static_cast<double>(frm.FNotifyForm->FExpiredEvents.size());
    clearNowForTests();
}
BENCHMARK(BM_ReminderCheck_NothingDue)->Unit(benchmark::kMillisecond);

// A check while the pop-up is up with many reminders: a week after a long absence,
// every occurrence before then is due; only the pop-up events' rows stay due (the
// first check dismisses the others), so each later check hands the same rows over.
void BM_ReminderCheck_ManyInThePopUp(benchmark::State& state)
{
    TfrmQuillet& frm = window();
    loadAt(frm, Date() - 7);
    frm.tmrCheckEventsTimer();
    for (auto _ : state)
        frm.tmrCheckEventsTimer();
    state.counters["due"] = static_cast<double>(frm.FNotifyForm->FExpiredEvents.size());
    clearNowForTests();
}
BENCHMARK(BM_ReminderCheck_ManyInThePopUp)->Unit(benchmark::kMillisecond);

// A save of the whole list, after copying the previous file into Backup.
void BM_SaveEventsWithBackup(benchmark::State& state)
{
    TfrmQuillet& frm = window();
    frm.SaveEvents();
    for (auto _ : state)
        frm.SaveEvents();
    state.counters["bytes"] = static_cast<double>(QFileInfo(frm.FFileName).size());
}
BENCHMARK(BM_SaveEventsWithBackup)->Unit(benchmark::kMillisecond)->Iterations(10); // each adds a backup file

// Ten minutes of the save timer, ticking every second on the program's clock, while
// the disk takes no more than the file saved last: each try builds the whole file
// and fails writing it. core_share is the part of one core the timer takes.
void BM_FailingSaveForTenMinutes(benchmark::State& state)
{
    TfrmQuillet& frm = window();
    frm.SaveEvents();
    const auto fileSize = static_cast<rlim_t>(QFileInfo(frm.FFileName).size());
    frm.FEventList->AddEvent(*frm.FEventList->GetEvent(0)); // one event more than the disk takes
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit limited{fileSize + 100, saved.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limited);
    const TDateTime start = Now();
    int tries = 0;
    const auto began = std::chrono::steady_clock::now();
    for (auto _ : state) {
        const QString fileTime = QFileInfo(frm.FFileName).lastModified().toString();
        for (int second = 1; second <= 600; ++second) {
            setNowForTests(start + (tries * 600 + second) * 1000 * OneMillisecond);
            frm.tmrSaveTimer();
        }
        ++tries;
        if (!frm.FEventList->Modified || QFileInfo(frm.FFileName).lastModified().toString() != fileTime)
            state.SkipWithError("the save went through");
    }
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - began;
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    clearNowForTests();
    state.counters["core_share"] = spent.count() / (600.0 * tries);
}
BENCHMARK(BM_FailingSaveForTenMinutes)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace
