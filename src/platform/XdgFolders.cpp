#include "XdgFolders.h"

#include <QDir>

QString xdgFolder(const char* Variable)
{
    const QString folder = qEnvironmentVariable(Variable);
    return QDir::isAbsolutePath(folder) ? folder : QString();
}

void ignoreRelativeXdgFolders()
{
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
        if (qEnvironmentVariableIsSet(variable) && xdgFolder(variable).isEmpty())
            qunsetenv(variable);
}
