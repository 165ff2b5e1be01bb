#pragma once

#include <QString>

#include "events/DateTimeUtils.h"

class TEventList;

// Where the events go when a real exit can't save them: the user's data folder, so
// that the program can still end without losing the changes.

// Writes List to <data folder>/<event file's name>_yyyymmdd_hhnnsszzz.events for
// Time, with the event file's permissions, and returns that path. A data folder made
// here is closed to others. Raises EFileError when it can't be written.
QString writeRecoveryFile(TEventList& List, const QString& EventFileName, TDateTime Time);

// A message for the next start, left by an exit that had no one to tell.
void leaveNoticeForNextStart(const QString& Message);
// The messages left by earlier exits, joined; they are gone once taken.
QString takeNoticesFromLastExit();
