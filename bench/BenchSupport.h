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

// The environment variable that makes a benchmark program start as Quillet does,
// on the event file that the variable names, and write "painted" to its standard
// output once the main window has been painted.
constexpr const char* FirstPaintVariable = "QUILLET_BENCH_FIRST_PAINT";
int startUntilFirstPaint(int argc, char** argv, const QString& FileName);

} // namespace bench_support
