#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csignal>

std::ostream& operator<<(std::ostream& os, const QString& value)
{
    return os << '"' << value.toStdString() << '"';
}

void PrintTo(const QDate& value, std::ostream* os)
{
    *os << value.toString(Qt::ISODate).toStdString();
}

void PrintTo(const QStringList& value, std::ostream* os)
{
    *os << '{';
    for (qsizetype i = 0; i < value.size(); ++i)
        *os << (i ? ", " : "") << value[i];
    *os << '}';
}

namespace testing_support {

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
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEvent& addEvent(TEventList& list, TDateTime start, std::initializer_list<TDateTime> repeats, const QString& category,
                 TEventImportance importance)
{
    TEvent event;
    event.SetStartDate(start);
    for (const TDateTime date : repeats)
        event.RepeatedDates->AddDate(date, true, 0);
    event.Category = category;
    event.Importance = importance;
    return *list.GetEvent(list.AddEvent(event));
}

Rows rowsOf(const TListViewEventItems& items)
{
    Rows rows;
    for (const auto& item : items)
        rows.emplace_back(item->EventIndex, item->DateIndex);
    return rows;
}

FileSizeLimit::FileSizeLimit(rlim_t Bytes) : FOldHandler(std::signal(SIGXFSZ, SIG_IGN))
{
    getrlimit(RLIMIT_FSIZE, &FSaved);
    const rlimit limited{Bytes, FSaved.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limited);
}

FileSizeLimit::~FileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &FSaved);
    std::signal(SIGXFSZ, FOldHandler);
}

} // namespace testing_support
