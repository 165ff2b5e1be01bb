#pragma once

#include <QString>

// Makes the user's folder that a file of the program is about to be written into,
// with every missing folder above it. When it can't be made (a read-only home, a
// file in its way) raises EFileError naming the folder and the system's reason,
// which the file that could not be created would not tell.
void makeUserFolder(const QString& Folder);
