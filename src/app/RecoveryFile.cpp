#include "RecoveryFile.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "FileVersion.h"
#include "events/EventList.h"
#include "events/Exceptions.h"

namespace {

QString dataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QLatin1Char('/');
}

QString noticeFileName()
{
    return dataFolder() + QStringLiteral("Notice from the last exit.txt");
}

} // namespace

QString writeRecoveryFile(TEventList& List, const QString& EventFileName, TDateTime Time)
{
    const QString path = dataFolder() + ExtractFileNameNoExt(EventFileName) + QLatin1Char('_') +
                         formatDateTime(QStringLiteral("yyyymmdd_hhnnsszzz"), Time) + QStringLiteral(".events");
    if (!QDir().mkpath(dataFolder()))
        throw EFileError(QStringLiteral("Cannot create folder \"%1\".").arg(dataFolder()));
    List.SaveToFile(path);
    return path;
}

void leaveNoticeForNextStart(const QString& Message)
{
    QDir().mkpath(dataFolder());
    QFile file(noticeFileName());
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write((Message + QStringLiteral("\n\n")).toUtf8());
}

QString takeNoticesFromLastExit()
{
    QFile file(noticeFileName());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString notices = QString::fromUtf8(file.readAll()).trimmed();
    file.remove();
    return notices;
}
