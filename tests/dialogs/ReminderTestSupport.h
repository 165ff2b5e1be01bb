#pragma once

// For the tests of the reminder pop-up and of the main window's reminder check:
// the platform fakes, and rows in a form that compares and prints.

#include <QString>
#include <QStringList>

#include <memory>
#include <ostream>
#include <vector>

#include "events/EventList.h"
#include "PlatformFakes.h"

namespace reminder_testing {

using ::FailingTempFileNamer;
using ::RecordingShellOpener;
using ::RecordingSoundPlayer;
using ::waitUntil;

struct Row {
    int EventIndex;
    int DateIndex;
    bool operator==(const Row&) const = default;
};

inline void PrintTo(const Row& row, std::ostream* os)
{
    *os << '(' << row.EventIndex << ',' << row.DateIndex << ')';
}

inline std::vector<Row> rowsOf(const TListViewEventItems& items)
{
    std::vector<Row> rows;
    for (const auto& item : items)
        rows.push_back({item->EventIndex, item->DateIndex});
    return rows;
}

} // namespace reminder_testing
