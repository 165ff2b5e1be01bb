#include "FileAccess.h"

#include <QFile>
#include <QSaveFile>

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

void writeFileAtomically(const QString& FileName, QByteArrayView Bytes)
{
    QSaveFile file(FileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EFileError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, file.errorString()));
    if (file.write(Bytes.data(), Bytes.size()) != Bytes.size() || !file.commit())
        throw EFileError(QStringLiteral("Cannot write file \"%1\". %2").arg(FileName, file.errorString()));
}
