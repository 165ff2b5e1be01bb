#pragma once

#include <QString>

#include <atomic>
#include <cstdint>

#include "TempFileNamer.h"

// Numbers the files from a random start and takes the next number while a name is
// taken, so that this process never hands out one name twice and other processes'
// files are never reused.
class SystemTempFileNamer : public TempFileNamer {
public:
    SystemTempFileNamer();

    QString createUniqueFile(const QString& folder, const QString& prefix) override;

private:
    std::atomic<std::uint32_t> FNextNumber;
};
