#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

// One launch of a command file: what to open and how it ended.
struct TExecInfo {
    QString FileName;
    QString Parameters;             // the launch leaves it empty
    QString Directory;              // working folder; empty means none
    std::int32_t ShowCmd = 0;       // show state wished for the started program's window
    std::int32_t ProcessHandle = 0; // the started process's id
    std::uint32_t ExitCode = 0;     // all bits set when the open failed
    std::uint32_t LastError = 0;    // errno of a failed open; 0 otherwise
    bool HandedOver = false;        // another program opened the file and may still be reading it
};

// Called on the launch thread when a launch has finished.
using TExecuteDoneEvent = std::function<void(const TExecInfo&)>;

// Opens a command file on a thread of its own and waits for it to end.
class TWaitExecuteThread {
public:
    // Runs Execute on a new thread, which frees the launch when the body returns.
    // Throws std::system_error when no thread can be made.
    static void Start(std::unique_ptr<TWaitExecuteThread> Thread);

    // The thread body: opens ExecInfo.FileName, waits, then calls OnExecuteDone.
    void Execute();

    TExecInfo ExecInfo;
    TExecuteDoneEvent OnExecuteDone;
};

// Deletes the command files left in the tmp folder (those of launches still
// running stay), then removes the folder when it is empty. Failures are ignored.
void CleanTmpFolder();
