#pragma once

#include <QStringList>

// Where the program's files live. A program whose folder holds its LOCALE (the build
// folder, a portable copy) keeps everything beside itself as long as it may write
// there and the folder is the user's own (othersMayChange). An installed program
// (<prefix>/bin beside <prefix>/share/quillet), or one in a folder the user cannot
// write or others may change, reads its own files from where they are and keeps the
// user's in the user's folders: the XDG ones, else the defaults under the home,
// whichever is the user's own. Every folder ends in "/".

// The executable's folder, unless a test chose another.
QString programFolder();

// Lets a test process act as a program in another folder.
void setProgramFolderForTests(const QString& folder);

// LOCALE and the sounds.
QString readOnlyFilesFolder();

// True when Settings.ini, the default event file and tmp lie beside the program.
bool userFilesBesideProgram();

// The folder of Settings.ini, created when it is missing; empty when no folder of the
// user's own is left for it.
QString settingsFolder();

// The folder of the default event file (and so of its Backup), created when missing;
// empty when no folder of the user's own is left for it.
QString eventFileFolder();

// The user's data folder, whether or not the program keeps its files beside itself:
// the first of the XDG one and the default under the home that is the user's own,
// Backup/ included; not made here. Empty when neither is.
QString userDataFolder();

// The choice for a program in ProgramDir, made from what is on disk; the user's
// folders are the ones Qt names for the application's configuration and data, or
// their defaults under the home when others may change those.
struct ProgramFolders {
    QString ReadOnlyFiles;
    QString Settings;  // empty: none of the user's own
    QString EventFile; // empty: none of the user's own
    bool UserFilesBeside = true;
    QStringList Refused; // the user's folders passed over, as others may change them
};
ProgramFolders chooseProgramFolders(const QString& ProgramDir);
