#pragma once

#include <QString>

// Folders of the user's own: what the program keeps there (its events, settings,
// backups, recovery files, command files, locks) no one else can read in its place,
// replace or plant, and what it reads from there is the user's.

// Whether anyone but this user (and root) may change Folder or what it holds, plant
// entries in it, or put another folder in its place. Folder must be a folder, not a
// link, owned by the user; a folder on the way to it must be the user's or root's.
// A folder that others may write counts as theirs, unless it has the sticky bit and
// lies on the way (it keeps the user's entries to the user); one that a group may
// write counts as others' only when that group has members besides the user, so a
// user private group (umask 002) does not. A link on the way is taken only when only
// the user or root can change it. A missing folder counts as the user's when the user
// would make it in such a folder (below a file, where none can be made, the save
// that tries names the reason).
bool othersMayChange(const QString& Folder);

// Whether anyone but the user (and root) may look into Folder of the user's own: by
// the bits for others, or for a group with members besides the user.
bool othersMayLookInto(const QString& Folder);

// Makes Folder with mode 0700 when it is missing (its parent must exist); true when
// it is then a folder of the user's own.
bool makePrivateFolder(const QString& Folder);

// Makes Folder and every missing folder above it with mode 0700, leaving existing
// ones as they are; true when Folder is a folder at the end, else errno says why.
bool makePrivatePath(const QString& Folder);

// The user's runtime folder (XDG_RUNTIME_DIR, else the one Qt makes in the temporary
// folder), ending in "/", when it is the user's own; empty otherwise.
QString privateRuntimeFolder();
