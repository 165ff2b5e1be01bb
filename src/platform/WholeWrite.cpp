#include "WholeWrite.h"

#include <QFile>
#include <QIODevice>
#include <QSaveFile>

#include <sys/stat.h>

bool writeWhole(QIODevice& File, QByteArrayView Bytes)
{
    for (qint64 written = 0; written < Bytes.size();) {
        const qint64 count = File.write(Bytes.data() + written, Bytes.size() - written);
        if (count <= 0)
            return false;
        written += count;
    }
    return true;
}

bool commitWithMode(QSaveFile& File, mode_t Mode)
{
    if (!File.commit())
        return false;
    if (!(Mode & S_IWUSR))
        ::chmod(QFile::encodeName(File.fileName()).constData(), Mode & 07777);
    return true;
}
