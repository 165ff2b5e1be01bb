#include "WholeWrite.h"

#include <QIODevice>

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
