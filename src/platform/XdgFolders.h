#pragma once

#include <QString>

// The XDG base-directory variables. A relative value is invalid and ignored, so that
// the program finds the same folders whatever folder it was started from.

// The folder that Variable ("XDG_CONFIG_HOME") names; empty when it is unset or relative.
QString xdgFolder(const char* Variable);

// Removes the XDG folder variables that the program reads from the environment when
// they are relative: Qt's standard paths take them as they stand, and use their
// defaults when they are unset.
void ignoreRelativeXdgFolders();
