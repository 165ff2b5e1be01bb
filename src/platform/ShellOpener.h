#pragma once

#include <QString>

#include <cstdint>

// What became of opening a file and waiting for it.
struct ShellOpenResult {
    std::int32_t ProcessId = 0;          // the started process; 0 when none started
    std::uint32_t ExitCode = 0xFFFFFFFF; // all bits set when nothing could be started
    std::uint32_t LastError = 0;         // errno of a start that failed
    bool HandedOver = false;             // another program got the file and may still be reading it
};

// Opens a file as if the user double-clicked it, and waits for the started process.
class ShellOpener {
public:
    virtual ~ShellOpener() = default;

    // Blocks until the started process ends. Parameters are split like a shell's
    // arguments; an empty Directory keeps the current working folder. ShowCmd is
    // the wish for the started window's state; programs run without a window here.
    virtual ShellOpenResult openAndWait(const QString& fileName, const QString& parameters, const QString& directory,
                                        int showCmd) = 0;
};

// The service in use: the system's (/bin/sh, xdg-open) unless a test installed another.
ShellOpener& shellOpener();

// Installs opener (nullptr: the real service again); returns the one installed before.
ShellOpener* setShellOpener(ShellOpener* opener);
