#include "UserFolder.h"

#include <cerrno>

#include "events/Exceptions.h"
#include "platform/PrivateFolder.h"

void makeUserFolder(const QString& Folder)
{
    if (!makePrivatePath(Folder))
        throw EFileError(QStringLiteral("Cannot create folder \"%1\". %2").arg(Folder, qt_error_string(errno)));
}
