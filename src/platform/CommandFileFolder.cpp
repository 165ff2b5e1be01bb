#include "CommandFileFolder.h"

#include "PrivateFolder.h"
#include "ProgramFolder.h"

QString commandFileFolder()
{
    // Beside a program that keeps the user's files there, that folder is the user's own.
    const QString beside = programFolder() + QStringLiteral("tmp/");
    if (userFilesBesideProgram() && !othersMayChange(beside))
        return beside;
    const QString runtime = privateRuntimeFolder();
    return runtime.isEmpty() ? QString() : runtime + QStringLiteral("quillet-tmp/");
}
