#pragma once

#include <QString>

#include <memory>

class TEventList;
class TfrmQuillet;

namespace bench_support {

// A list of `events` events, each with `repeats` repeated dates (one a week from
// its start, starts spread over the years around today) and a few lines of notes.
std::unique_ptr<TEventList> makeEventList(int events, int repeats);

// A folder for the files a benchmark writes; removed when the program ends.
QString scratchFolder();

// The main window holding makeEventList(10000, 10), made on the first call, with
// its timers stopped and its message boxes silenced. It stays to the end of the
// process: destroyed after the application object it would touch services that
// are gone.
TfrmQuillet& mainWindowWithLargeList();

} // namespace bench_support
