#include "WaitExecuteThread.h"

#include <thread>
#include <utility>

#include "platform/ShellOpener.h"

void TWaitExecuteThread::Start(std::unique_ptr<TWaitExecuteThread> Thread)
{
    std::thread([launch = std::move(Thread)] { launch->Execute(); }).detach();
}

void TWaitExecuteThread::Execute()
{
    // Nothing may escape a thread body: it would end the whole program.
    try {
        ExecInfo.LastError = 0;
        if (!ExecInfo.FileName.isEmpty()) {
            const ShellOpenResult result =
                shellOpener().openAndWait(ExecInfo.FileName, ExecInfo.Parameters, ExecInfo.Directory, ExecInfo.ShowCmd);
            ExecInfo.ProcessHandle = result.ProcessId;
            ExecInfo.ExitCode = result.ExitCode;
            ExecInfo.LastError = result.LastError;
            ExecInfo.HandedOver = result.HandedOver;
        }
        if (OnExecuteDone)
            OnExecuteDone(ExecInfo);
    } catch (...) {
    }
}
