// The commands that create, edit, delete, enable and move events, and the row menu.
#include "MainForm.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QTimer>
#include <QTreeView>

#include <optional>

#include "ConfirmationBox.h"
#include "EventViewModel.h"
#include "dialogs/EditEvent.h"
#include "dialogs/EventNotify.h"
#include "platform/GetText.h"
#include "platform/gui/ErrorReport.h"

namespace {

// Holds the reminder check off for its lifetime.
class ReminderCheckPause {
public:
    explicit ReminderCheckPause(TfrmQuillet& Window) : FWindow(Window) { FWindow.pauseReminderCheck(); }
    ~ReminderCheckPause() { FWindow.resumeReminderCheck(); }
    ReminderCheckPause(const ReminderCheckPause&) = delete;
    ReminderCheckPause& operator=(const ReminderCheckPause&) = delete;

private:
    TfrmQuillet& FWindow;
};

// The row of Event's occurrence at Date, looked for again after the list may have
// changed; none when the event or that occurrence is gone.
std::optional<TListViewEventItem> findOccurrence(const TEventList& Events, const TEvent* Event, TDateTime Date)
{
    for (int index = 0; index < Events.Count(); ++index) {
        if (Events.GetEvent(index) != Event)
            continue;
        if (CompareDateTimes(Event->GetStartDate(), Date) == 0)
            return TListViewEventItem(index, -1);
        for (int date = 0; date < Event->RepeatedDates->GetCount(); ++date)
            if (CompareDateTimes(Event->RepeatedDates->GetItem(date)->DateTime, Date) == 0)
                return TListViewEventItem(index, date);
        return std::nullopt;
    }
    return std::nullopt;
}

TDateTime toToday(TDateTime D)
{
    return dateOf(Now()) + timeOf(D);
}

TDateTime forwardOneDay(TDateTime D)
{
    return incDay(D, 1);
}

TDateTime forwardOneWeek(TDateTime D)
{
    return incDay(D, 7);
}

} // namespace

void TfrmQuillet::setupEventCommands()
{
    const auto handle = [this](void (TfrmQuillet::*handler)()) {
        return [this, handler] { reportingErrors([&] { (this->*handler)(); }); };
    };
    connect(actNewEvent, &QAction::triggered, this, handle(&TfrmQuillet::actNewEventExecute));
    connect(actEditEvent, &QAction::triggered, this, handle(&TfrmQuillet::actEditEventExecute));
    connect(actDeleteSelectedEvent, &QAction::triggered, this, handle(&TfrmQuillet::actDeleteSelectedEventExecute));
    connect(mnuitmEnableEvent, &QAction::triggered, this, handle(&TfrmQuillet::mnuitmEnableEventClick));
    connect(mnuitmMoveToToday, &QAction::triggered, this, handle(&TfrmQuillet::mnuitmMoveToTodayClick));
    connect(mnuitmMoveFwd1Day, &QAction::triggered, this, handle(&TfrmQuillet::mnuitmMoveFwd1DayClick));
    connect(mnuitmMoveFwd1Week, &QAction::triggered, this, handle(&TfrmQuillet::mnuitmMoveFwd1WeekClick));

    connect(pmnuEventFunctions, &QMenu::aboutToShow, this, handle(&TfrmQuillet::pmnuEventFunctionsPopup));
    // The press of the right button has already selected the row under the mouse.
    connect(vstEvents, &QTreeView::customContextMenuRequested, this, [this](const QPoint& Position) {
        pmnuEventFunctions->popup(vstEvents->viewport()->mapToGlobal(Position));
    });
}

void TfrmQuillet::pauseReminderCheck()
{
    if (FReminderCheckPauses++ == 0)
        tmrCheckEvents->stop();
}

void TfrmQuillet::resumeReminderCheck()
{
    if (FReminderCheckPauses > 0 && --FReminderCheckPauses == 0)
        tmrCheckEvents->start();
}

void TfrmQuillet::CreateNewEvent(const QString& Description, const QString& Notes, TDateTime Time)
{
    TEvent event;
    const ReminderCheckPause pause(*this);
    TfrmEditEvent dialog(this);

    QString category;
    for (int i = 0; i < clstCategories->count() && category.isNull(); ++i)
        if (clstCategories->item(i)->checkState() == Qt::Checked)
            category = clstCategories->item(i)->text();
    if (category.isNull()) {
        const QList<QListWidgetItem*> selected = clstCategories->selectedItems();
        // The first item counts as no choice.
        if (!selected.isEmpty() && clstCategories->row(selected.first()) > 0)
            category = selected.first()->text();
        else
            category = _("General");
    }

    int hour = 0, minute = 0, second = 0, msec = 0;
    decodeTime(Time, hour, minute, second, msec);
    event.SetStartDate(dateOf(GetSelectedDate()) + encodeTime(hour, minute, 0, 0));
    event.UseTime = true;
    event.ShowOnCalendar = true;
    event.Category = category;
    event.SetDescription(Description);
    event.SetNotes(Notes);
    event.AlarmType = 1;
    event.AlarmParam = -5;
    event.AlarmSound = QStringLiteral("Default");
    event.AudioNotify = true;
    event.PopUpNotify = true;

    // In front of every other window, also when started from the tray or a capture.
    QTimer::singleShot(0, &dialog, [&dialog] {
        dialog.raise();
        dialog.activateWindow();
    });
    if (!dialog.Execute(&event, FEventList->Categories))
        return;
    FEventList->AddEvent(*dialog.FEvent);
    FEventList->AddCategory(dialog.FEvent->Category);
    RefreshCategories(true);
    RefreshEventView();
    followChangedEvents();
    SaveEvents();
}

void TfrmQuillet::actNewEventExecute()
{
    CreateNewEvent(_("New Event"), QString(), Now());
}

void TfrmQuillet::actEditEventExecute()
{
    const ReminderCheckPause pause(*this);
    TfrmEditEvent dialog(this);
    const TListViewEventItem* row = selectedEventItem();
    TEvent* event = row ? FEventList->GetEvent(row->EventIndex) : nullptr;
    if (!event)
        return;
    if (dialog.Execute(event, FEventList->Categories)) {
        TEvent::Copy(*dialog.FEvent, *event);
        FEventList->AddCategory(event->Category);
        RefreshCategories(true);
        RefreshEventView();
        followChangedEvents();
    }
    // Cancel saves too: the file on disk always matches the list after an edit.
    SaveEvents();
}

void TfrmQuillet::actDeleteSelectedEventExecute()
{
    const TListViewEventItem* selected = selectedEventItem();
    const TEvent* event = selected ? FEventList->GetEvent(selected->EventIndex) : nullptr;
    if (!event)
        return;
    const TDateTime date = FEventList->GetEventViewDateTime(selected);
    const bool repeated = event->HasRepeatedEvents();

    QMessageBox::StandardButton answer = QMessageBox::Cancel;
    {
        const ReminderCheckPause pause(*this);
        answer = repeated
                     ? askConfirmation(this, _("This event is repeated, would you lke to delete all repeated events too?"),
                                       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)
                     : askConfirmation(this, _("Are you sure?"), QMessageBox::Yes | QMessageBox::No);
    }

    // The rows may have been rebuilt while the question was open: the occurrence
    // asked about is found again, and nothing is deleted when it is gone.
    const std::optional<TListViewEventItem> row = findOccurrence(*FEventList, event, date);
    if (!row)
        return;
    if (repeated && answer == QMessageBox::Yes)
        FEventList->DeleteEvent(row->EventIndex);
    else if (answer == (repeated ? QMessageBox::No : QMessageBox::Yes))
        FEventList->DeleteOccurrence(*row);
    else
        return;
    RefreshEventView();
    followChangedEvents();
    SaveEvents();
}

void TfrmQuillet::pmnuEventFunctionsPopup()
{
    mnuitmEditEvent->setEnabled(false);
    mnuitmEnableEvent->setEnabled(false);
    mnuitmMoveEvent->menuAction()->setEnabled(false);
    const TListViewEventItem* row = selectedEventItem();
    const TEvent* event = row ? FEventList->GetEvent(row->EventIndex) : nullptr;
    if (!event)
        return;
    mnuitmEditEvent->setEnabled(true);
    mnuitmEnableEvent->setEnabled(true);
    mnuitmMoveEvent->menuAction()->setEnabled(true);
    mnuitmEnableEvent->setText(event->Enabled ? _("Disable") : _("Enable"));
}

void TfrmQuillet::mnuitmEnableEventClick()
{
    const TListViewEventItem* row = selectedEventItem();
    TEvent* event = row ? FEventList->GetEvent(row->EventIndex) : nullptr;
    if (!event)
        return;
    event->SetEnabled(!event->Enabled);
    // The save timer writes the change.
    markChangedForSave();
    RefreshEventView();
    followChangedEvents();
}

void TfrmQuillet::moveSelectedOccurrence(TDateTime (*Move)(TDateTime))
{
    const TListViewEventItem* row = selectedEventItem();
    TEvent* event = row ? FEventList->GetEvent(row->EventIndex) : nullptr;
    if (!event)
        return;
    FEventList->SetEventViewDateTime(row, Move(FEventList->GetEventViewDateTime(row)));
    // It reminds at its new date, and the save timer writes the change.
    event->rescheduleOccurrence(*row);
    markChangedForSave();
    // The row keeps its place until the list is next refreshed.
    vstEvents->viewport()->update();
    repaintCalendars();
    followChangedEvents();
}

void TfrmQuillet::mnuitmMoveToTodayClick()
{
    moveSelectedOccurrence(toToday);
}

void TfrmQuillet::mnuitmMoveFwd1DayClick()
{
    moveSelectedOccurrence(forwardOneDay);
}

void TfrmQuillet::mnuitmMoveFwd1WeekClick()
{
    moveSelectedOccurrence(forwardOneWeek);
}
