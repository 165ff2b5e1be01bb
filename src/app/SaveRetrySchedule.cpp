#include "SaveRetrySchedule.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int MaxPauseSeconds = 60;

} // namespace

bool SaveRetrySchedule::isDue(TDateTime Now) const
{
    if (FPauseSeconds == 0 || FRetryAtOnce)
        return true;
    const long long elapsed = std::llround((date_math::toLinear(Now) - date_math::toLinear(FFailedAt)) * MSecsPerDay);
    // A clock set back (by the user, or a time zone) must not hold the saves for hours.
    return elapsed < 0 || elapsed >= FPauseSeconds * 1000LL;
}

void SaveRetrySchedule::failed(TDateTime Now)
{
    FPauseSeconds = FPauseSeconds == 0 ? 1 : std::min(2 * FPauseSeconds, MaxPauseSeconds);
    FFailedAt = Now;
    FRetryAtOnce = false;
}

void SaveRetrySchedule::succeeded()
{
    FPauseSeconds = 0;
    FRetryAtOnce = false;
}

void SaveRetrySchedule::retryAtOnce()
{
    FRetryAtOnce = true;
}
