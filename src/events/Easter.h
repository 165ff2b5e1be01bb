#pragma once

#include <cstdint>

#include "DateTimeUtils.h"

// Easter Sunday of Year at 00:00 as a Gregorian date: the Western date, or the
// Orthodox one. Raises "Invalid argument to date encode" for year 0 and years above 9999.
TDateTime GetEasterDate(std::uint16_t Year, bool Orthodox);
