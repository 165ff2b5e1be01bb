// The main window's timed work on 10,000 events of 10 repeated dates each: the
// reminder check every five seconds, and a save with its backup copy.
#include <QFileInfo>

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

} // namespace
