#pragma once

#include <QString>

// Folders that no other user can change: a folder, not a link, owned by the user
// and writable by no one else. What the program keeps there (command files it runs,
// its locks) can't be replaced behind its back.

// True when Folder is such a folder; a link is never followed.
bool isPrivateFolder(const QString& Folder);

// Makes Folder with mode 0700 when it is missing (its parent must exist); true when
// it is then a private folder.
bool makePrivateFolder(const QString& Folder);

// Makes Folder and every missing folder above it with mode 0700, leaving existing
// ones as they are; true when Folder is a folder at the end, else errno says why.
bool makePrivatePath(const QString& Folder);

// The user's runtime folder (Qt's runtime location, ending in "/") when it is the
// user's alone; empty otherwise.
QString privateRuntimeFolder();
