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

// The application's folder that Location names (the XDG variable's, or Qt's default),
// then the same under the home's default; the first that is the user's own, Extra
// included, or empty. Those passed over go to Refused.
QString firstOwnFolder(QStandardPaths::StandardLocation Location, QStandardPaths::StandardLocation Base,
                       const QString& HomeDefault, const QString& Extra, QStringList& Refused)
{
    const QString named = withSlash(QStandardPaths::writableLocation(Location));
    const QString application = named.mid(QStandardPaths::writableLocation(Base).size());
    const QString fallback = withSlash(QDir::cleanPath(QDir::homePath() + HomeDefault + application));
    for (const QString& folder : {named, fallback}) {
        if (Refused.contains(folder))
            continue;
        if (!othersMayChange(folder) && (Extra.isEmpty() || !othersMayChange(folder + Extra)))
            return folder;
        Refused << folder;
    }
    return {};
}

QString ownSettingsFolder(QStringList& Refused)
{
    return firstOwnFolder(QStandardPaths::AppConfigLocation, QStandardPaths::GenericConfigLocation,
                          QStringLiteral("/.config"), {}, Refused);
}

// Backups of the default event file go into its Backup/: that must be the user's too.
QString ownDataFolder(QStringList& Refused)
{
    return firstOwnFolder(QStandardPaths::AppDataLocation, QStandardPaths::GenericDataLocation,
                          QStringLiteral("/.local/share"), QStringLiteral("Backup"), Refused);
}

// Made when missing, then judged again: another user may have made it first.
QString created(QString (*Choose)(QStringList&))
{
    QStringList refused;
    const QString folder = Choose(refused);
    if (folder.isEmpty())
        return folder;
    makePrivatePath(folder);
    refused.clear();
    return Choose(refused) == folder ? folder : QString();
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
    const bool installed = !QFileInfo(beside + QStringLiteral("LOCALE")).isDir() && QFileInfo(shared).isDir();

    ProgramFolders folders;
    folders.ReadOnlyFiles = installed ? shared : beside;
    // ~/.local/bin is the user's to write, yet no place for settings: an installed
    // program always keeps them in the user's folders.
    folders.UserFilesBeside = !installed && userMayWrite(beside) && !othersMayChange(beside);
    if (folders.UserFilesBeside) {
        folders.Settings = folders.EventFile = beside;
        return folders;
    }
    folders.EventFile = ownDataFolder(folders.Refused);
    folders.Settings = ownSettingsFolder(folders.Refused);
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
    if (userFilesBesideProgram())
        return programFolder();
    return created(ownSettingsFolder);
}

QString eventFileFolder()
{
    if (userFilesBesideProgram())
        return programFolder();
    return created(ownDataFolder);
}

QString userDataFolder()
{
    QStringList refused;
    return ownDataFolder(refused);
}
