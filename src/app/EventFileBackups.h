#pragma once

#include <QString>

#include "events/DateTimeUtils.h"
#include "platform/FileIdentity.h"

// The backup copies of the event file, in the folder "Backup" beside it. A copy is
// whole or absent, and a save that is retried after a failure does not copy the same
// file again: the disk would fill with copies of one content, one a second.
class EventFileBackups {
public:
    // Copies FileName into its backup folder as <name>_yyyymmdd_hhnnsszzz.events for
    // Time, unless this content was copied last (or the file does not exist). Returns
    // the copy's path, empty when nothing was copied. Raises QuilletError with the
    // backup messages.
    QString make(const QString& FileName, TDateTime Time);

    // The next make keeps the file as it is now under the name Time gives, even when
    // it would skip the copy: the damaged file a load read only in part. Returns that
    // name; empty when the file can't be read for a copy (then no save gets past its
    // backup).
    QString keepDamagedOriginal(const QString& FileName, TDateTime Time);

    // Where the copy of FileName made at Time goes.
    static QString backupPathFor(const QString& FileName, TDateTime Time);

private:
    FileIdentity FCopied; // the file copied last
    QString FDamagedCopy; // the name the damaged original is kept under
};

// Copies Source to Target through a temporary file in Target's folder that is renamed
// into place, so that Target is whole or absent; Target gets Source's owner, group
// and permissions, where the copier may give them.
// The system's reason when the copy failed, empty when it went through.
QString copyFileWhole(const QString& Source, const QString& Target);
