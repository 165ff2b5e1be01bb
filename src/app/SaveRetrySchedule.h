#pragma once

#include "events/DateTimeUtils.h"

// When the timed save tries again after a failure: after 1, 2, 4 ... at most 60
// seconds, so that a save that keeps failing (a full disk) does not rebuild the whole
// file every second. A success ends the pauses; a new change by the user is tried at
// once. Times are the program's clock.
class SaveRetrySchedule {
public:
    bool isDue(TDateTime Now) const;
    void failed(TDateTime Now);
    void succeeded();
    void retryAtOnce();

private:
    int FPauseSeconds = 0; // the pause after the last failure; 0 when the last save went through
    TDateTime FFailedAt = 0;
    bool FRetryAtOnce = false;
};
