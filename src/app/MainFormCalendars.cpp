// The strip of five month calendars: the selected date of the whole window.
#include "MainForm.h"

#include <QAction>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

#include <array>

#include "controls/CalendarX.h"
#include "platform/gui/ErrorReport.h"

namespace {

std::array<TCalendarX*, 5> calendarsOf(const TfrmQuillet& window)
{
    return {window.CalendarX1, window.CalendarX2, window.CalendarX3, window.CalendarX4, window.CalendarX5};
}

} // namespace

void TfrmQuillet::setupCalendarStrip()
{
    // The calendars report a failing handler themselves when a click or a paint ran it.
    for (TCalendarX* calendar : calendarsOf(*this)) {
        calendar->OnDateChanged = [this](QObject* Sender) { CalendarXDateChanged(Sender); };
        calendar->OnMonthChanged = [this](QObject* Sender) { CalendarXMonthChanged(Sender); };
        calendar->OnDblClickDate = [this](QObject* Sender) { CalendarXDblClickDate(Sender); };
        calendar->OnBeforePaintDayBG = [this](QObject* Sender, TDateTime Date, QColor& Colour,
                                              TFontStyles& FontStyles) {
            CalendarXBeforePaintDayBG_Bold(Sender, Date, Colour, FontStyles);
        };
    }
    connect(sbtnGotoToday, &QToolButton::clicked, this, [this] { reportingErrors([this] { sbtnGotoTodayClick(); }); });
}

TDateTime TfrmQuillet::GetSelectedDate() const
{
    for (TCalendarX* calendar : calendarsOf(*this))
        if (calendar->HighlightSelectedDate())
            return calendar->SelectedDate();
    return 0;
}

void TfrmQuillet::SyncCalendarMonths(TCalendarX* Calendar)
{
    const auto calendars = calendarsOf(*this);
    if (Calendar == CalendarX1) {
        // Each calendar a month after the one before it.
        for (size_t j = 1; j < calendars.size(); ++j)
            calendars[j]->SetSelectedMonth(incMonth(calendars[j - 1]->SelectedMonth(), 1));
        return;
    }
    int k = -1;
    for (size_t j = 0; j < calendars.size(); ++j)
        if (calendars[j] == Calendar)
            k = static_cast<int>(j);
    if (k < 0)
        return;
    // A calendar whose month changes reports it and aligns the others in turn; the
    // targets agree, so those nested runs end as soon as no month changes.
    const TDateTime M = Calendar->SelectedMonth();
    for (int j = 0; j < static_cast<int>(calendars.size()); ++j)
        if (j != k)
            calendars[static_cast<size_t>(j)]->SetSelectedMonth(incMonth(M, j - k));
}

void TfrmQuillet::CalendarXDateChanged(QObject* Sender)
{
    for (TCalendarX* calendar : calendarsOf(*this))
        calendar->SetHighlightSelectedDate(calendar == Sender);
    RefreshEventView();
    FocusNearestEvent();
}

void TfrmQuillet::CalendarXMonthChanged(QObject* Sender)
{
    if (auto* calendar = qobject_cast<TCalendarX*>(Sender))
        SyncCalendarMonths(calendar);
}

void TfrmQuillet::CalendarXDblClickDate(QObject*)
{
    actNewEvent->trigger();
}

void TfrmQuillet::CalendarXBeforePaintDayBG_Bold(QObject*, TDateTime Date, QColor&, TFontStyles& FontStyles)
{
    const bool marked = FEventList && FEventList->DateHasEventForCalendar(Date);
    FontStyles = marked ? TFontStyles(fsBold | fsUnderline) : TFontStyles();
}

void TfrmQuillet::repaintCalendars()
{
    // Each calendar itself: an update of the strip that holds them leaves them as they were.
    for (TCalendarX* calendar : calendarsOf(*this))
        calendar->update();
}

void TfrmQuillet::sbtnGotoTodayClick()
{
    CalendarX1->SetSelectedDate(Now());
    CalendarX1->SetSelectedMonth(CalendarX1->SelectedDate());
    ScrollBox1->verticalScrollBar()->setValue(0);
}
