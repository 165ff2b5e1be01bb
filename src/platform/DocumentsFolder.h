#pragma once

#include <QString>

// The user's documents folder as the desktop names it (XDG_DOCUMENTS_DIR in
// user-dirs.dirs), or the home folder when that names no folder that exists.
// Always an absolute path, ending in "/".
QString documentsFolder();
