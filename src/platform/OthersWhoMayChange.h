#pragma once

#include <QString>

#include "UserAccess.h"

// The users other than this one (and root) who may change what the file at File
// holds: those who may write it, and those who may put another file in its place
// through a folder on the way to it, by its name or by where its links lead.
OtherWriters othersWhoMayChange(const QString& File);
