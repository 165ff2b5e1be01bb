#include "SystemTempFileNamer.h"

#include <QFile>
#include <QRandomGenerator>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace {
// Gives up after this many taken names rather than searching a crowded folder for ever.
constexpr int maxAttempts = 0x10000;
} // namespace

SystemTempFileNamer::SystemTempFileNamer() : FNextNumber(QRandomGenerator::system()->generate()) {}

QString SystemTempFileNamer::createUniqueFile(const QString& folder, const QString& prefix)
{
    QString base = folder;
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    for (int attempt = 0; attempt < maxAttempts; ++attempt) {
        const QString name = base + prefix + QString::number(FNextNumber++, 16).toUpper() + QStringLiteral(".tmp");
        // O_EXCL makes the name ours alone, even against another process naming at the same moment.
        const int fd = ::open(QFile::encodeName(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            return name;
        }
        if (errno != EEXIST)
            return {};
    }
    return {};
}
