#pragma once

#include <QDate>
#include <QStringList>

#include <sys/resource.h>

#include <functional>
#include <ostream>

#include "events/DateTimeUtils.h"
#include "events/EventList.h"
#include "events/Exceptions.h"

// Readable failure output for Qt types; texts are quoted.
std::ostream& operator<<(std::ostream& os, const QString& value);
void PrintTo(const QDate& value, std::ostream* os);
void PrintTo(const QStringList& value, std::ostream* os);

namespace testing_support {

// Writes bytes to a file, creating its folder; returns the full path.
QString writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

// Date-times for tests, in the program's day-count form.
inline TDateTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0)
{
    return encodeDateTime(year, month, day, hour, minute, second, ms);
}

// Sets the program clock for one scope and restores the real clock at its end.
class ClockOverride {
public:
    explicit ClockOverride(TDateTime now) { setNowForTests(now); }
    ~ClockOverride() { clearNowForTests(); }
    void set(TDateTime now) { setNowForTests(now); }
};

// The message of the E that the action raises; any other exception passes through.
template <class E = QuilletError> QString messageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const E& error) {
        return error.message();
    }
    return QStringLiteral("(nothing raised)");
}

// Adds an event with its repeated dates to the list; returns the list's own copy.
TEvent& addEvent(TEventList& list, TDateTime start, std::initializer_list<TDateTime> repeats = {},
                 const QString& category = "General", TEventImportance importance = eiNormal);

// A view's rows as (EventIndex, DateIndex) pairs.
using Rows = std::vector<std::pair<int, int>>;
Rows rowsOf(const TListViewEventItems& items);

// While it lives, writes fail beyond Bytes ("File too large") as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t Bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    void (*FOldHandler)(int);
    rlimit FSaved{};
};

} // namespace testing_support
