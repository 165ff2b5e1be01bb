#pragma once

#include <QString>

// Starting the program when the user logs in, through the desktop's autostart
// folder: the entry $XDG_CONFIG_HOME/autostart/Quillet.desktop (~/.config when
// XDG_CONFIG_HOME is unset) starts the program named in its Exec line. The
// entry's presence is the choice; its contents are not looked at.
namespace autostart {

QString entryFileName();
bool entryExists();

// Writes the entry that starts ProgramPath, creating the folder; false when it
// cannot be written (nothing half-written is left).
bool writeEntry(const QString& ProgramPath);

// Removes the entry; true also when there was none.
bool removeEntry();

// The Exec value that starts ProgramPath: the path in double quotes, with the
// characters that desktop entries reserve escaped.
QString execLine(const QString& ProgramPath);

} // namespace autostart
