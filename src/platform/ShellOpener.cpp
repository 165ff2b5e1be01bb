#include "ShellOpener.h"

#include <atomic>

#include "SystemShellOpener.h"

namespace {
std::atomic<ShellOpener*> installedOpener{nullptr};
}

ShellOpener& shellOpener()
{
    if (ShellOpener* opener = installedOpener.load())
        return *opener;
    // Never destroyed: launch threads may still be waiting in it while the program ends.
    static auto* realOpener = new SystemShellOpener;
    return *realOpener;
}

ShellOpener* setShellOpener(ShellOpener* opener)
{
    return installedOpener.exchange(opener);
}
