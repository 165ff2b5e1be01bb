#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/ProgramFolder.h"

void PrintTo(const QString& value, std::ostream* os) { *os << '"' << value.toStdString() << '"'; }

void PrintTo(const QStringList& value, std::ostream* os)
{
    *os << '{';
    for (int i = 0; i < value.size(); ++i)
        *os << (i ? ", " : "") << '"' << value[i].toStdString() << '"';
    *os << '}';
}

void PrintTo(const QDate& value, std::ostream* os) { *os << value.toString(Qt::ISODate).toStdString(); }

namespace testing_support {

QString testProgramFolder() { return programFolder(); }

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    file.write(bytes);
    return QFileInfo(path).absoluteFilePath();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

TDateTime at(int year, int month, int day, int hour, int minute, int second, int ms)
{
    return encodeDateTime(year, month, day, hour, minute, second, ms);
}

ClockOverride::ClockOverride(TDateTime now) { setNowForTests(now); }
ClockOverride::~ClockOverride() { clearNowForTests(); }
void ClockOverride::set(TDateTime now) { setNowForTests(now); }

} // namespace testing_support
