#pragma once

#include <QString>

// Where the program's files live. A program whose folder holds its LOCALE (the build
// folder, a portable copy) keeps everything beside itself as long as it may write
// there and no other user can. An installed program (<prefix>/bin beside
// <prefix>/share/quillet), or one in a folder the user cannot write or another user
// can (or owns), reads its own files from where they are and keeps the user's in the
// user's folders. Every folder ends in "/".

// The executable's folder, unless a test chose another.
QString programFolder();

// Lets a test process act as a program in another folder.
void setProgramFolderForTests(const QString& folder);

// LOCALE and the sounds.
QString readOnlyFilesFolder();

// True when Settings.ini, the default event file and tmp lie beside the program.
bool userFilesBesideProgram();

// The folder of Settings.ini, created when it is missing.
QString settingsFolder();

// The folder of the default event file (and so of its Backup), created when missing.
QString eventFileFolder();

// The choice for a program in ProgramDir, made from what is on disk; the user's
// folders are the ones Qt names for the application's configuration and data.
struct ProgramFolders {
    QString ReadOnlyFiles;
    QString Settings;
    QString EventFile;
    bool UserFilesBeside = true;
};
ProgramFolders chooseProgramFolders(const QString& ProgramDir);
