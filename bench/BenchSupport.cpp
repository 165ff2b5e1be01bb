#include "BenchSupport.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include "FirstPaint.h"
#include "app/EventViewModel.h"
#include "app/MainForm.h"
#include "events/EventList.h"
#include "platform/gui/ErrorReport.h"

namespace bench_support {

std::unique_ptr<TEventList> makeEventList(int events, int repeats)
{
    auto list = std::make_unique<TEventList>();
    for (const char* name : {"General", "Birthdays", "Holidays", "Business", "Personal"})
        list->AddCategory(QString::fromLatin1(name));
    const TDateTime today = Date();
    for (int i = 0; i < events; ++i) {
        TEvent event;
        const TDateTime start = incMinute(today, (i % 1500 - 750) * 1440LL + (i * 37) % 1440);
        event.SetStartDate(StripSeconds(start));
        event.UseTime = i % 3 != 0;
        event.Category = list->Categories[i % list->Categories.size()];
        event.Description = QStringLiteral("Event number %1 with a title of some length").arg(i);
        event.Notes =
            QStringLiteral("First line of the notes for %1\r\nSecond line\r\nThird line with more words").arg(i);
        event.AlarmType = 1;
        event.AlarmParam = -15;
        event.AudioNotify = true;
        event.PopUpNotify = i % 2 == 0;
        event.ShowOnCalendar = true;
        event.Importance = static_cast<TEventImportance>(i % 4);
        for (int r = 1; r <= repeats; ++r)
            event.RepeatedDates->AddDate(incDay(start, 7LL * r), false, 0);
        list->AddEvent(event);
    }
    list->Modified = false;
    return list;
}

QString scratchFolder()
{
    static QTemporaryDir folder;
    return folder.path();
}

TfrmQuillet& mainWindowWithLargeList()
{
    static TfrmQuillet* const window = [] {
        setMessageSinkForTests([](const QString&) {});
        auto* frm = new TfrmQuillet(QStringList{scratchFolder() + QStringLiteral("/Events.events")});
        frm->tmrCheckEvents->stop();
        frm->tmrSave->stop();
        frm->FEventViewModel->clearRows(); // the rows index the list about to go
        frm->FEventList = makeEventList(10000, 10);
        return frm;
    }();
    return *window;
}

int startUntilFirstPaint(int argc, char** argv, const QString& FileName)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillet"));
    setMessageSinkForTests([](const QString&) {}); // the hotkey may be taken on a shared display
    showUntilFirstPaint(*new TfrmQuillet(QStringList{FileName}));
}

} // namespace bench_support

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsEmpty(bench_support::FirstPaintVariable))
        return bench_support::startUntilFirstPaint(argc, argv, qEnvironmentVariable(bench_support::FirstPaintVariable));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
