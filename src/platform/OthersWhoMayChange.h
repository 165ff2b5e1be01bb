#pragma once

#include <QString>

#include "UserAccess.h"

// The users other than this one (and root) who may change what the file at File
// holds: those who may write it, and, where its folder is not the user's own (by
// its name or where its links lead), those who may put another file in its place
// through a folder on the way to it. A folder only root may change names no one.
OtherWriters othersWhoMayChange(const QString& File);
