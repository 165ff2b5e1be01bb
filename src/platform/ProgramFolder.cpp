#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

#include "PrivateFolder.h"

namespace {
QString& overrideFolder()
{
    static QString folder;
    return folder;
}

QString withSlash(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

bool userMayWrite(const QString& folder)
{
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

// Another user who may write the folder, or who owns it, could plant an event file
// there, or links where the user's files go: not a place for them.
bool othersMayChange(const QString& folder)
{
    struct stat status = {};
    if (::stat(QFile::encodeName(folder).constData(), &status) != 0)
        return true;
    return (status.st_uid != ::geteuid() && status.st_uid != 0) || (status.st_mode & (S_IWGRP | S_IWOTH)) != 0;
}

QString userFolder(QStandardPaths::StandardLocation location)
{
    return withSlash(QStandardPaths::writableLocation(location));
}

QString created(const QString& folder)
{
    makePrivatePath(folder);
    return folder;
}
} // namespace

QString programFolder()
{
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    return withSlash(QCoreApplication::applicationDirPath());
}

void setProgramFolderForTests(const QString& folder)
{
    overrideFolder() = folder.isEmpty() ? QString() : withSlash(QDir(folder).absolutePath());
}

ProgramFolders chooseProgramFolders(const QString& ProgramDir)
{
    const QString beside = withSlash(QDir(ProgramDir).absolutePath());
    const QString shared = withSlash(QDir::cleanPath(beside + QStringLiteral(QUILLET_DATA_FROM_PROGRAM)));
    // A program whose catalogues are not beside it but under the prefix's share is installed.
    const bool installed =
        !QFileInfo(beside + QStringLiteral("LOCALE")).isDir() && QFileInfo(shared).isDir();

    ProgramFolders folders;
    folders.ReadOnlyFiles = installed ? shared : beside;
    // ~/.local/bin is the user's to write, yet no place for settings: an installed
    // program always keeps them in the user's folders.
    folders.UserFilesBeside = !installed && userMayWrite(beside) && !othersMayChange(beside);
    folders.Settings = folders.UserFilesBeside ? beside : userFolder(QStandardPaths::AppConfigLocation);
    folders.EventFile = folders.UserFilesBeside ? beside : userFolder(QStandardPaths::AppDataLocation);
    return folders;
}

QString readOnlyFilesFolder()
{
    return chooseProgramFolders(programFolder()).ReadOnlyFiles;
}

bool userFilesBesideProgram()
{
    return chooseProgramFolders(programFolder()).UserFilesBeside;
}

QString settingsFolder()
{
    return created(chooseProgramFolders(programFolder()).Settings);
}

QString eventFileFolder()
{
    return created(chooseProgramFolders(programFolder()).EventFile);
}
