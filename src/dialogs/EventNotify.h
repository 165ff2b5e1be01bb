#pragma once

#include <QElapsedTimer>
#include <QRect>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

#include "events/EventList.h"

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QTimer;

// Called by the pop-up when it changed the model; no arguments.
using TNotifyFormCallback = std::function<void()>;

// The reminder pop-up: a frameless, topmost tool window that never takes the
// focus. It slides up at the bottom-right corner of the work area while
// reminders are due, shows them one after another and lets the user snooze,
// dismiss, edit or execute the one on show.
class TfrmEventNotify : public QWidget {
    Q_OBJECT

public:
    explicit TfrmEventNotify(QWidget* parent = nullptr);
    ~TfrmEventNotify() override;

    // Slides in when FExpiredEvents holds rows, out when it is empty.
    void RefreshForEvents(TEventList* EventList, std::uint8_t MaxAlpha);
    // FExpiredEvents was filled anew after the events changed: as RefreshForEvents,
    // and while up the display follows at once, keeping the reminder on show when
    // it is still due.
    void followExpiredEvents(TEventList* EventList, std::uint8_t MaxAlpha);
    // Texts again in the current language; the snooze choice returns to position 0.
    void Retranslate();

    void PopUp(std::uint8_t MaxAlpha);
    void PopDown();
    // Wholly above, or wholly below, the work area's bottom edge.
    bool HasPopedUp() const;
    bool HasPopedDown() const;
    // Reads the work area and moves the window into its bottom-right corner.
    void PositionAtWorkArea();
    // Shows the next due reminder (or slides out when none is left).
    void CycleEvents();
    void GetNotificationInfo(const TListViewEventItem& Item, QString& DateText, QString& Text, QString& Category) const;
    // Snoozes the reminder on show by the chosen interval, or by Minutes.
    void DoSnooze();
    void Snooze(int Minutes);
    bool MouseOverForm() const;

    // Handlers of the window's timer and controls.
    void tmrCycleEventsTimer();
    void cboSnoozeOptionsChange();
    void btnSnoozeClick();
    void btnDismissClick();
    void btnEditEventClick();
    void btnExecuteClick();

    int AlphaBlendValue() const { return FAlphaBlendValue; }

    // The pause between two one-pixel steps of a slide, in milliseconds (3 by default).
    static void setSlideStepDelay(int Milliseconds);
    // How long a reminder must have been on show before a click acts on it (1000 ms by default).
    static void setClickGuard(int Milliseconds);

    QFrame* Panel2 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* lblEventCount = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* lblEventCategory = nullptr;
    QLabel* lblEventTime = nullptr;
    QLabel* lblEventDesc = nullptr; // wraps, and cuts what doesn't fit with an ellipsis
    QLabel* TntLabel1 = nullptr;
    QComboBox* cboSnoozeOptions = nullptr;
    QPushButton* btnSnooze = nullptr;
    QPushButton* btnDismiss = nullptr;
    QPushButton* btnExecute = nullptr;
    QPushButton* btnEditEvent = nullptr;
    QTimer* tmrCycleEvents = nullptr;

    QRect FWorkArea; // the primary screen's work area as last read
    bool FPopedUp = false;
    TEventList* FEventList = nullptr; // not owned
    int FCurrentIndex = 0;
    TListViewEventItems FExpiredEvents; // the due reminders, owned
    TNotifyFormCallback OnNotifyEventsChanged;
    TNotifyFormCallback OnNotifyEventEdited;
    // Called as the Edit button opens the edit dialog and after it closed.
    TNotifyFormCallback OnEditStarting;
    TNotifyFormCallback OnEditFinished;

private:
    void buildWidgets();
    void translateTexts();
    void setAlphaBlendValue(int Value);
    int workAreaRight() const;  // first column right of the work area
    int workAreaBottom() const; // first row below the work area
    void showWithoutActivating();
    void watchWorkArea();
    // Shows the row at FCurrentIndex without counting it as a reminder given; the
    // row, or nullptr when there is none or its event is gone.
    const TListViewEventItem* showCurrentRow();
    // The row of the occurrence on show, found again in FExpiredEvents; -1 when it is gone.
    int findShownRow() const;
    // Runs Action on the row on show (when it is still there) and tells the owner
    // of the change; then shows the next reminder.
    void actOnShownRow(const std::function<void(const TListViewEventItem&)>& Action);
    // Opens the edit-event dialog on a copy of Event; the edited copy when the user confirmed.
    std::unique_ptr<TEvent> editEventInDialog(const TEvent& Event);
    bool eventIsInList(const TEvent* Event) const;
    // Runs a handler that the user triggered, reporting what it raises.
    void runHandler(void (TfrmEventNotify::*handler)());
    // The same for a click on a button or the snooze list, which is ignored while
    // the reminder on show has just come up.
    void runClickHandler(void (TfrmEventNotify::*handler)());
    // Moves the window a pixel at a time up (-1) out of, or down (+1) into, the
    // work area's bottom edge, fading it in towards MaxAlpha or out; false when
    // the window was destroyed meanwhile.
    bool slide(int Direction, std::uint8_t MaxAlpha);

    int FAlphaBlendValue = 0;
    // The occurrence on show: its event and its date, to find it again at a click.
    // Only compared, never followed, until found again in the list.
    TEvent* FShownEvent = nullptr;
    TDateTime FShownDate = 0;
    QElapsedTimer FShownSince; // since the occurrence on show came up
};
