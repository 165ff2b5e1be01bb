#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <ostream>

#include "events/DateTimeUtils.h"

// Readable failure output for Qt types.
void PrintTo(const QString& value, std::ostream* os);
void PrintTo(const QStringList& value, std::ostream* os);
void PrintTo(const QDate& value, std::ostream* os);

namespace testing_support {

// The folder that the test process uses as the program's folder (a fresh temporary one).
QString testProgramFolder();

// Writes bytes to a file, creating its folder; returns the full path.
QString writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

// Date-times for tests, in the program's day-count form.
TDateTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0);

// Sets the program clock for one scope and restores the real clock at its end.
class ClockOverride {
public:
    explicit ClockOverride(TDateTime now);
    ~ClockOverride();
    void set(TDateTime now);
};

} // namespace testing_support
