#include "DocumentsFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString documentsFolder()
{
    // The XDG rules say to ignore a relative XDG_CONFIG_HOME; Qt would read
    // user-dirs.dirs from the working folder instead.
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const bool trusted = configHome.isEmpty() || QDir::isAbsolutePath(configHome);
    // A relative entry in user-dirs.dirs, or one not (or no longer) made, is no place to start in.
    const bool usable = trusted && QDir::isAbsolutePath(documents) && QFileInfo(documents).isDir();
    const QString folder = usable ? documents : QDir::homePath();
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}
