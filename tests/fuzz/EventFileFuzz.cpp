// libFuzzer target for the event file reader: any bytes (up to the 64 KB that
// scripts/fuzz allows) either load or are refused with the program's own error,
// never crash, hang or leak. A file that loads is saved and loaded again and
// must give back the same events, with no damage found in it.
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "events/EventList.h"
#include "events/Exceptions.h"

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    static QTemporaryDir folder;
    const QString input = folder.filePath(QStringLiteral("input.events"));
    const QString output = folder.filePath(QStringLiteral("output.events"));
    QFile file(input);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
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
    require(back.Count() == list.Count());
    // The program's own file reads back as written: only zero bytes that a value
    // kept can be found in it.
    const TEventList::LoadDamage& damage = back.lastLoadDamage();
    require(!damage.SkippedText && !damage.UnclosedEvent && !damage.MixedEncodings);
    for (int i = 0; i < list.Count(); ++i) {
        // The start date is written to 15 digits; the element holds every other field as written.
        TEvent& read = *back.GetEvent(i);
        require(std::fabs(read.GetStartDate() - list.GetEvent(i)->GetStartDate()) < OneMillisecond);
        read.SetStartDate(list.GetEvent(i)->GetStartDate());
        require(read.SaveToXML() == list.GetEvent(i)->SaveToXML());
    }
    return 0;
}
