#pragma once

#include <QString>

// The folder of the program's own files (LOCALE, sounds, tmp, Settings.ini),
// ending in "/". It is the executable's folder unless a test chose another.
QString programFolder();

// Lets a test process keep its files in a folder of its own.
void setProgramFolderForTests(const QString& folder);
