// The list and the calendars keep time while the window is on show.
#include "MainForm.h"

#include <QTimer>
#include <QTreeView>

#include "platform/gui/ErrorReport.h"

void TfrmQuillet::setupClock()
{
    FShownDay = dateOf(Now());
    FClockTimer = new QTimer(this);
    FClockTimer->setInterval(1000);
    connect(FClockTimer, &QTimer::timeout, this, [this] { reportingErrors([this] { clockTick(); }); });
    FClockTimer->start();
}

void TfrmQuillet::clockTick()
{
    // A new day: "Today" and the calendars' ring move, and views that end now
    // (the expired events) take in the day that passed.
    const TDateTime today = dateOf(Now());
    if (today != FShownDay) {
        FShownDay = today;
        RefreshEventView();
    }
    // The texts are made as the rows paint (a screenful takes well under a
    // millisecond): a repaint brings the countdowns and the past-due red up to date.
    if (isVisible())
        vstEvents->viewport()->update();
}
