#pragma once

#include <sys/stat.h>
#include <sys/types.h>

// What the program makes in place of a file, beside it or as its copy (the saved file
// renamed over the old one, a backup, the backup folder, a lock file) is open to the
// users the file is open to, and to no one else. It is set through the descriptor of
// what was made, never by name, so nothing put in its place meanwhile is changed.

// Gives the file or folder open at Descriptor the owner Owner and the group Group
// where this process may (root any owner; a user a group it belongs to), then Mode.
// Owner -1 keeps the owner. A group that can't be given keeps the maker's, and the
// group's permission bits then become the others' ones: the maker's group gets no
// more than anyone. False when the mode could not be set.
bool giveOwnerGroupAndMode(int Descriptor, uid_t Owner, gid_t Group, mode_t Mode);
