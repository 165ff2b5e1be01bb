#pragma once

#include <QString>
#include <QStringList>

#include "events/DateTimeUtils.h"

class TEventList;

// Where the events go when a real exit can't save them, so that the program can still
// end without losing the changes: the user's data folder, else the home folder, else
// the runtime folder, whichever is the user's own (othersMayChange) and takes the
// file first.

struct RecoveryFile {
    QString Path;
    bool EmptiedAtLogOut = false; // in the runtime folder, which the system empties
};

// Writes List to <folder>/<event file's name>_yyyymmdd_hhnnsszzz.events for Time, made
// new (never through a link, never over a file that is there), and says where it
// went. It gets the event file's permissions and the owner's read and write, or the
// owner's alone in a folder that others may look into. A data folder made here is
// closed to others. Raises EFileError, with the reason of each folder, when none can
// take it.
RecoveryFile writeRecoveryFile(TEventList& List, const QString& EventFileName, TDateTime Time);

// A message for the next start, left by an exit that had no one to tell.
void leaveNoticeForNextStart(const QString& Message);

// The messages left by earlier exits, joined, and the files that hold them: only files
// of the user's that this program wrote count.
struct LastExitNotices {
    QString Text;
    QStringList Files;
    // Once the user has read them.
    void remove() const;
};
LastExitNotices noticesFromLastExit();
