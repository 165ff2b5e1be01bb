#include "ShellOpener.h"

#include <atomic>

#include "SystemShellOpener.h"

namespace {
std::atomic<ShellOpener *> installedOpener{nullptr};
}

ShellOpener &shellOpener()
{
    if (ShellOpener *opener = installedOpener.load())
        return *opener;
    static SystemShellOpener realOpener;
    return realOpener;
}

ShellOpener *setShellOpener(ShellOpener *opener)
{
    return installedOpener.exchange(opener);
}
