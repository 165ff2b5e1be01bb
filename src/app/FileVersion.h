#pragma once

#include <QString>

// The four numbers of a program version.
struct TFileVersion {
    int Major = 0;
    int Minor = 0;
    int Release = 0;
    int Build = 0;
};

// The version compiled into the program.
TFileVersion ProgramFileVersion();

// Template with every "@A", "@B", "@C" and "@D" (in either letter case) replaced by
// the major, minor, release and build numbers, in that order.
QString FormatFileVersion(const QString& Template, const TFileVersion& Version);

// The version of FileName filled into Template. Only the program's own file carries
// a version; any other file, or one that does not exist, gives ''.
QString GetFileVersionString(const QString& FileName, const QString& Template);

// The file name after the last "/", without the text from its last ".".
QString ExtractFileNameNoExt(const QString& FileName);

// The preset name of the page an event file is exported to: every ".events" (in any
// letter case) replaced by ".html"; a name without it gets ".html" appended, so
// that the page never takes the event file's place.
QString exportFileName(const QString& EventFileName);
