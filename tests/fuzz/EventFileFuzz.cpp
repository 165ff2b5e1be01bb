// libFuzzer target for the event file reader: any bytes either load or are
// refused with the program's own error, never crash, hang or leak. A file
// that loads is saved and loaded again and must give back the same events.
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "events/EventList.h"
#include "events/Exceptions.h"

namespace {

QTemporaryDir* folder = nullptr;

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void requireSameEvents(const TEventList& a, const TEventList& b)
{
    require(a.Count() == b.Count());
    for (int i = 0; i < a.Count(); ++i) {
        const TEvent& x = *a.GetEvent(i);
        const TEvent& y = *b.GetEvent(i);
        require(std::fabs(x.GetStartDate() - y.GetStartDate()) < OneMillisecond);
        require(x.RepeatedDates->GetCount() == y.RepeatedDates->GetCount());
        for (int d = 0; d < x.RepeatedDates->GetCount(); ++d)
            require(x.RepeatedDates->GetItem(d)->DateTime == y.RepeatedDates->GetItem(d)->DateTime);
        require(x.Enabled == y.Enabled && x.UseTime == y.UseTime && x.Duration == y.Duration);
        require(x.Category == y.Category && x.Description == y.Description && x.Notes == y.Notes);
        require(x.AlarmType == y.AlarmType && x.AlarmParam == y.AlarmParam && x.AlarmSound == y.AlarmSound);
        require(x.AudioNotify == y.AudioNotify && x.PopUpNotify == y.PopUpNotify && x.Importance == y.Importance);
        require(x.KeepRemindingFor == y.KeepRemindingFor && x.AfterReminderJob == y.AfterReminderJob);
        require(x.AfterReminderJobParamInt == y.AfterReminderJobParamInt && x.ExecuteFile == y.ExecuteFile);
        require(x.CmdsToExecute == y.CmdsToExecute && x.ExecuteFileXTimes == y.ExecuteFileXTimes);
        require(x.ShowOnCalendar == y.ShowOnCalendar);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    folder = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const QString input = folder->filePath(QStringLiteral("input.events"));
    const QString output = folder->filePath(QStringLiteral("output.events"));
    QFile file(input);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();

    TEventList list;
    list.Modified = true;
    try {
        list.LoadFromFile(input, false);
    } catch (const QuilletError&) {
        // A refused file adds nothing and leaves the list as it was.
        require(list.Count() == 0 && list.Categories.isEmpty() && list.Modified);
        return 0;
    }
    require(!list.Modified);

    list.SaveToFile(output);
    TEventList back;
    back.LoadFromFile(output, false);
    requireSameEvents(list, back);

    // Merging the file into what it gave adds no event: every description is present.
    const int count = list.Count();
    list.LoadFromFile(input, true);
    require(list.Count() == count);
    return 0;
}
