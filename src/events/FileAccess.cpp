#include "FileAccess.h"

#include <QFile>
#include <QSaveFile>

#include <sys/mman.h>
#include <sys/stat.h>

#include "Exceptions.h"

QByteArray readWholeFile(const QString& FileName)
{
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EFileError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EFileError(QStringLiteral("Cannot read file \"%1\". %2").arg(FileName, file.errorString()));
    return bytes;
}

FileBytes::FileBytes(const QString& FileName)
{
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EFileError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, file.errorString()));
    struct stat status {};
    if (::fstat(file.handle(), &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
        FMappedSize = static_cast<size_t>(status.st_size);
        FMapping = ::mmap(nullptr, FMappedSize, PROT_READ, MAP_PRIVATE | MAP_POPULATE, file.handle(), 0);
        if (FMapping != MAP_FAILED) {
            FView = std::string_view(static_cast<const char*>(FMapping), FMappedSize);
            return;
        }
        FMapping = nullptr;
    }
    file.close();
    FRead = readWholeFile(FileName);
    FView = std::string_view(FRead.constData(), static_cast<size_t>(FRead.size()));
}

FileBytes::~FileBytes()
{
    if (FMapping)
        ::munmap(FMapping, FMappedSize);
}

void writeFileAtomically(const QString& FileName, QByteArrayView Bytes)
{
    QSaveFile file(FileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EFileError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, file.errorString()));
    if (file.write(Bytes.data(), Bytes.size()) != Bytes.size() || !file.commit())
        throw EFileError(QStringLiteral("Cannot write file \"%1\". %2").arg(FileName, file.errorString()));
}
