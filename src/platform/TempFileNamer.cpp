#include "TempFileNamer.h"

#include <atomic>

#include "SystemTempFileNamer.h"

namespace {
std::atomic<TempFileNamer*> installedNamer{nullptr};
}

TempFileNamer& tempFileNamer()
{
    if (TempFileNamer* namer = installedNamer.load())
        return *namer;
    static SystemTempFileNamer realNamer;
    return realNamer;
}

TempFileNamer* setTempFileNamer(TempFileNamer* namer)
{
    return installedNamer.exchange(namer);
}
