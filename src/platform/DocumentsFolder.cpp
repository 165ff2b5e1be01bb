#include "DocumentsFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "PrivateFolder.h"
#include "XdgFolders.h"

QString documentsFolder()
{
    // Qt would read user-dirs.dirs from the working folder for a relative XDG_CONFIG_HOME.
    const bool trusted = qEnvironmentVariableIsEmpty("XDG_CONFIG_HOME") || !xdgFolder("XDG_CONFIG_HOME").isEmpty();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    // A relative entry in user-dirs.dirs, one not (or no longer) made, or one that
    // others may change is no place to start in.
    const bool usable =
        trusted && QDir::isAbsolutePath(documents) && QFileInfo(documents).isDir() && !othersMayChange(documents);
    const QString folder = usable ? documents : QDir::homePath();
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}
