#pragma once

#include <QString>

#include <memory>

class TEventList;

namespace bench_support {

// A list of `events` events, each with `repeats` repeated dates (one a week from
// its start, starts spread over the years around today) and a few lines of notes.
std::unique_ptr<TEventList> makeEventList(int events, int repeats);

// A folder for the files a benchmark writes; removed when the program ends.
QString scratchFolder();

} // namespace bench_support
