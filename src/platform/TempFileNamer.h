#pragma once

#include <QString>

// Makes new, uniquely named files for data that lives only a short while.
class TempFileNamer {
public:
    virtual ~TempFileNamer() = default;

    // Creates an empty file named prefix + an upper-case hexadecimal number + ".tmp"
    // in folder, readable and writable by its owner only, and never one that already
    // exists. Returns its full path, or an empty string when no file could be made.
    virtual QString createUniqueFile(const QString& folder, const QString& prefix) = 0;
};

// The service in use: the system's unless a test installed another.
TempFileNamer& tempFileNamer();

// Installs namer (nullptr: the real service again); returns the one installed before.
TempFileNamer* setTempFileNamer(TempFileNamer* namer);
