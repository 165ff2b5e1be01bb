#include "EventNotify.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <utility>

#include "EditEvent.h"
#include "ElidedTextLabel.h"
#include "ImportancePictures.h"
#include "NotifyEmblem.h"
#include "SnoozeComboBox.h"
#include "controls/FontStyles.h"
#include "events/Exceptions.h"
#include "platform/GetText.h"
#include "platform/gui/ErrorReport.h"
#include "platform/gui/PopUpWindow.h"

namespace {

int slideStepDelay = 3; // ms between two one-pixel steps

// A reminder on show for less than this (ms) may have just replaced the one the
// user was reaching for: a click then acts on nothing.
int clickGuard = 1000;

// Minutes of the ten snooze choices, by their position in the list.
constexpr std::array<int, 10> snoozeMinutes = {5, 10, 15, 30, 60, 120, 240, 480, 720, 1440};

QLabel* makeLabel(QWidget* parent, const char* name, const QFont& font, const QColor& colour)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText); // ampersands and angle brackets as typed
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, int width, int height)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setFixedSize(width, height);
    button->setFocusPolicy(Qt::NoFocus); // the pop-up never takes the keyboard
    return button;
}

// A row of the pop-up that names no event, or an occurrence the event no longer has
// (the list may be older than the last change of the model).
bool rowIsValid(const TEvent* Event, const TListViewEventItem& Item)
{
    return Event && Item.DateIndex < Event->RepeatedDates->GetCount();
}

} // namespace

TfrmEventNotify::TfrmEventNotify(QWidget* parent)
    // No window manager places it: some keep every window they manage on screen,
    // which would stop the slide half way, and some give it a task-bar button.
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
                          Qt::X11BypassWindowManagerHint)
{
    wrapExceptions("TfrmEventNotify.FormCreate", [&] {
        setObjectName(QStringLiteral("frmEventNotify"));
        setAttribute(Qt::WA_ShowWithoutActivating);
        setFocusPolicy(Qt::NoFocus);
        buildWidgets();
        PositionAtWorkArea();
        translateTexts();
        watchWorkArea();
    });
}

TfrmEventNotify::~TfrmEventNotify()
{
    TEventList::ClearEventView(FExpiredEvents);
}

void TfrmEventNotify::setSlideStepDelay(int Milliseconds)
{
    slideStepDelay = std::max(0, Milliseconds);
}

void TfrmEventNotify::setClickGuard(int Milliseconds)
{
    clickGuard = std::max(0, Milliseconds);
}

void TfrmEventNotify::buildWidgets()
{
    setFixedSize(382, 149);
    setFont(arialFont(11));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    auto* windowLayout = new QVBoxLayout(this);
    windowLayout->setContentsMargins(0, 0, 0, 0);
    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameShape(QFrame::Box);
    Panel2->setFrameShadow(QFrame::Plain);
    // A plain box is drawn in the text colour; a style sheet would give the
    // buttons the desktop's font instead of the window's.
    QPalette border = Panel2->palette();
    border.setColor(QPalette::WindowText, QColor(0x7A, 0x7A, 0x7A));
    Panel2->setPalette(border);
    windowLayout->addWidget(Panel2);

    auto* frameLayout = new QVBoxLayout(Panel2);
    frameLayout->setContentsMargins(4, 4, 4, 4);
    frameLayout->setSpacing(4);

    // Emblem and count | category, time, description | importance picture.
    auto* topRow = new QHBoxLayout;
    topRow->setSpacing(4);
    frameLayout->addLayout(topRow, 1);

    auto* Panel5 = new QWidget(Panel2);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Panel5->setFixedWidth(71);
    auto* emblemColumn = new QVBoxLayout(Panel5);
    emblemColumn->setContentsMargins(0, 0, 0, 0);
    emblemColumn->setSpacing(0);
    Image1 = new QLabel(Panel5);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(64, 64);
    Image1->setPixmap(notifyEmblemPicture());
    emblemColumn->addWidget(Image1, 0, Qt::AlignHCenter);
    lblEventCount = makeLabel(Panel5, "lblEventCount", arialFont(11, fsBold), Qt::black);
    lblEventCount->setFixedHeight(25);
    lblEventCount->setAlignment(Qt::AlignCenter);
    lblEventCount->setText(QStringLiteral("0/0"));
    emblemColumn->addWidget(lblEventCount);
    emblemColumn->addStretch();
    topRow->addWidget(Panel5);

    auto* Panel3 = new QWidget(Panel2);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    auto* textColumn = new QVBoxLayout(Panel3);
    textColumn->setContentsMargins(0, 0, 0, 0);
    textColumn->setSpacing(0);
    lblEventCategory =
        makeLabel(Panel3, "lblEventCategory", arialFont(12, fsBold | fsItalic), QColor(0x00, 0x80, 0x00));
    lblEventCategory->setFixedHeight(18);
    textColumn->addWidget(lblEventCategory);
    lblEventTime = makeLabel(Panel3, "lblEventTime", arialFont(12, fsBold), QColor(0x00, 0x00, 0x80));
    lblEventTime->setFixedHeight(18);
    textColumn->addWidget(lblEventTime);
    lblEventDesc = new ElidedTextLabel(Panel3);
    lblEventDesc->setObjectName(QStringLiteral("lblEventDesc"));
    lblEventDesc->setFont(arialFont(16));
    // Black on the window's fixed white, whatever the desktop's colours.
    QPalette black = lblEventDesc->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    lblEventDesc->setPalette(black);
    textColumn->addWidget(lblEventDesc, 1);
    topRow->addWidget(Panel3, 1);

    auto* Panel6 = new QWidget(Panel2);
    Panel6->setObjectName(QStringLiteral("Panel6"));
    Panel6->setFixedWidth(18);
    auto* pictureColumn = new QVBoxLayout(Panel6);
    pictureColumn->setContentsMargins(0, 0, 0, 0);
    Image2 = new QLabel(Panel6);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setFixedSize(18, 16);
    Image2->setAlignment(Qt::AlignCenter);
    pictureColumn->addWidget(Image2);
    pictureColumn->addStretch();
    topRow->addWidget(Panel6);

    // Snooze row.
    auto* Panel4 = new QWidget(Panel2);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setFixedHeight(21);
    auto* snoozeRow = new QHBoxLayout(Panel4);
    snoozeRow->setContentsMargins(0, 0, 0, 0);
    snoozeRow->setSpacing(4);
    TntLabel1 = makeLabel(Panel4, "TntLabel1", arialFont(11), Qt::black);
    TntLabel1->setFixedWidth(89);
    TntLabel1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    snoozeRow->addWidget(TntLabel1);
    auto* snoozeBox = new SnoozeComboBox(Panel4);
    snoozeBox->setObjectName(QStringLiteral("cboSnoozeOptions"));
    snoozeBox->setFixedHeight(21);
    snoozeBox->setFocusPolicy(Qt::NoFocus);
    snoozeBox->OnCommit = [this] { runClickHandler(&TfrmEventNotify::cboSnoozeOptionsChange); };
    cboSnoozeOptions = snoozeBox;
    snoozeRow->addWidget(cboSnoozeOptions, 1);
    btnSnooze = makeButton(Panel4, "btnSnooze", 87, 21);
    snoozeRow->addWidget(btnSnooze);
    frameLayout->addWidget(Panel4);

    // Button row, aligned right.
    auto* Panel1 = new QWidget(Panel2);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(21);
    auto* buttonRow = new QHBoxLayout(Panel1);
    buttonRow->setContentsMargins(0, 0, 0, 0);
    buttonRow->setSpacing(4);
    buttonRow->addStretch();
    btnDismiss = makeButton(Panel1, "btnDismiss", 87, 21);
    btnExecute = makeButton(Panel1, "btnExecute", 87, 21);
    btnEditEvent = makeButton(Panel1, "btnEditEvent", 87, 21);
    buttonRow->addWidget(btnDismiss);
    buttonRow->addWidget(btnExecute);
    buttonRow->addWidget(btnEditEvent);
    frameLayout->addWidget(Panel1);

    tmrCycleEvents = new QTimer(this);
    tmrCycleEvents->setObjectName(QStringLiteral("tmrCycleEvents"));
    tmrCycleEvents->setInterval(4000);

    connect(tmrCycleEvents, &QTimer::timeout, this, [this] { runHandler(&TfrmEventNotify::tmrCycleEventsTimer); });
    connect(btnSnooze, &QPushButton::clicked, this, [this] { runClickHandler(&TfrmEventNotify::btnSnoozeClick); });
    connect(btnDismiss, &QPushButton::clicked, this, [this] { runClickHandler(&TfrmEventNotify::btnDismissClick); });
    connect(btnExecute, &QPushButton::clicked, this, [this] { runClickHandler(&TfrmEventNotify::btnExecuteClick); });
    connect(btnEditEvent, &QPushButton::clicked, this,
            [this] { runClickHandler(&TfrmEventNotify::btnEditEventClick); });
}

void TfrmEventNotify::translateTexts()
{
    TntLabel1->setText(_("Snooze:"));
    btnSnooze->setText(_("Snooze"));
    btnDismiss->setText(_("Dismiss"));
    btnExecute->setText(_("Execute"));
    btnEditEvent->setText(_("Edit"));

    // The number texts are never localised (" 0.5 " keeps its full stop).
    const QString forText = _("for");
    const QStringList items = {
        forText + QStringLiteral(" 5 ") + _("minutes"),  forText + QStringLiteral(" 10 ") + _("minutes"),
        forText + QStringLiteral(" 15 ") + _("minutes"), forText + QStringLiteral(" 30 ") + _("minutes"),
        forText + QStringLiteral(" 1 ") + _("hour"),     forText + QStringLiteral(" 2 ") + _("hours"),
        forText + QStringLiteral(" 4 ") + _("hours"),    forText + QStringLiteral(" 8 ") + _("hours"),
        forText + QStringLiteral(" 0.5 ") + _("days"),   forText + QStringLiteral(" 1 ") + _("day"),
    };
    cboSnoozeOptions->clear();
    cboSnoozeOptions->addItems(items);
    cboSnoozeOptions->setCurrentIndex(0);
}

void TfrmEventNotify::watchWorkArea()
{
    // The work area changes when a panel is moved or resized, and with the primary screen.
    auto follow = [this](QScreen* screen) {
        if (screen)
            connect(screen, &QScreen::availableGeometryChanged, this, [this] { PositionAtWorkArea(); });
    };
    follow(QGuiApplication::primaryScreen());
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, [this, follow](QScreen* screen) {
        for (QScreen* other : QGuiApplication::screens())
            disconnect(other, &QScreen::availableGeometryChanged, this, nullptr);
        follow(screen);
        PositionAtWorkArea();
    });
}

int TfrmEventNotify::workAreaRight() const
{
    return FWorkArea.x() + FWorkArea.width();
}

int TfrmEventNotify::workAreaBottom() const
{
    return FWorkArea.y() + FWorkArea.height();
}

void TfrmEventNotify::setAlphaBlendValue(int Value)
{
    FAlphaBlendValue = std::clamp(Value, 0, 255);
    setWindowOpacity(FAlphaBlendValue / 255.0);
}

void TfrmEventNotify::showWithoutActivating()
{
    keepOffTaskBar(this);
    // WA_ShowWithoutActivating and the window flags keep the focus where it is.
    show();
    update();
}

void TfrmEventNotify::PositionAtWorkArea()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    FWorkArea = screen ? screen->availableGeometry() : QRect();
    move(workAreaRight() - width(), workAreaBottom() - height());
    if (isVisible())
        raise();
}

bool TfrmEventNotify::HasPopedUp() const
{
    return wrapExceptions("TfrmEventNotify.HasPopedUp", [&] { return y() + height() <= workAreaBottom(); });
}

bool TfrmEventNotify::HasPopedDown() const
{
    return wrapExceptions("TfrmEventNotify.HasPopedDown", [&] { return y() > workAreaBottom(); });
}

void TfrmEventNotify::RefreshForEvents(TEventList* EventList, std::uint8_t MaxAlpha)
{
    wrapExceptions("TfrmEventNotify.RefreshForEvents", [&] {
        FEventList = EventList;
        if (FExpiredEvents.empty())
            PopDown();
        else
            PopUp(MaxAlpha);
    });
}

void TfrmEventNotify::PopUp(std::uint8_t MaxAlpha)
{
    wrapExceptions("TfrmEventNotify.PopUp", [&] {
        if (FPopedUp)
            return;
        setAlphaBlendValue(0);
        FPopedUp = true;
        // Start just below the work area, right-aligned.
        move(workAreaRight() - width(), workAreaBottom());
        lblEventTime->clear();
        lblEventDesc->clear();
        showWithoutActivating();
        FCurrentIndex = -1;
        FShownEvent = nullptr; // coming up where the pointer rests, it takes no click at once either
        CycleEvents();
        raise();

        if (!slide(-1, MaxAlpha))
            return;
        setAlphaBlendValue(MaxAlpha);
        if (isVisible())
            raise();
        tmrCycleEvents->start();
    });
}

void TfrmEventNotify::PopDown()
{
    wrapExceptions("TfrmEventNotify.PopDown", [&] {
        tmrCycleEvents->stop();
        if (!slide(+1, 0))
            return;
        setAlphaBlendValue(0);
        FPopedUp = false;
        hide();
    });
}

bool TfrmEventNotify::slide(int Direction, std::uint8_t MaxAlpha)
{
    const auto arrived = [&](int top) {
        return Direction < 0 ? top + height() <= workAreaBottom() : top > workAreaBottom();
    };
    // The corner, or the first row below the work area; read anew as the work area may change.
    const auto target = [&] { return Direction < 0 ? workAreaBottom() - height() : workAreaBottom() + 1; };

    // Each step starts from where the window really is, and the steps are counted,
    // so a window system that puts the window elsewhere can neither stop the slide
    // half way nor hold it for ever. Pending events run between the steps: a check
    // may refill the list, a nested PopDown may hide the window, a click may act.
    const QPointer<TfrmEventNotify> alive(this);
    int top = realGeometry(this).y();
    for (int steps = std::abs(target() - top) + height(); steps > 0 && !arrived(top) && isVisible(); --steps) {
        move(x(), top + Direction);
        if (Direction < 0)
            setAlphaBlendValue(std::min(FAlphaBlendValue + 2, int(MaxAlpha)));
        else
            setAlphaBlendValue(std::max(FAlphaBlendValue - 4, 0));
        QCoreApplication::processEvents();
        if (!alive)
            return false;
        QThread::msleep(slideStepDelay);
        top = realGeometry(this).y();
    }
    // Every slide ends exactly in its place, also one that went on out of sight.
    move(workAreaRight() - width(), target());
    return true;
}

void TfrmEventNotify::tmrCycleEventsTimer()
{
    wrapExceptions("TfrmEventNotify.tmrCycleEventsTimer", [&] {
        // The reminder stays on show while the user points at it or chooses an interval.
        if (!MouseOverForm() && !cboSnoozeOptions->view()->isVisible())
            CycleEvents();
    });
}

bool TfrmEventNotify::MouseOverForm() const
{
    return wrapExceptions("TfrmEventNotify.MouseOverForm", [&] {
        const QPoint cursor = QCursor::pos();
        // All four edges count as inside.
        return x() <= cursor.x() && cursor.x() <= x() + width() && y() <= cursor.y() && cursor.y() <= y() + height();
    });
}

void TfrmEventNotify::CycleEvents()
{
    wrapExceptions("TfrmEventNotify.CycleEvents", [&] {
        if (!FExpiredEvents.empty())
            FCurrentIndex = (FCurrentIndex + 1) % static_cast<int>(FExpiredEvents.size());
        const TListViewEventItem* shown = showCurrentRow();
        if (!shown)
            return;
        const TListViewEventItem row = *shown;
        // Sounds while the sound is due and counts the reminder; never launches or dismisses.
        bool dismissed = false;
        FEventList->GetEvent(row.EventIndex)->DoNotificationAction(row, false, false, dismissed);
    });
}

void TfrmEventNotify::followExpiredEvents(TEventList* EventList, std::uint8_t MaxAlpha)
{
    wrapExceptions("TfrmEventNotify.followExpiredEvents", [&] {
        FEventList = EventList;
        if (!FPopedUp) {
            RefreshForEvents(EventList, MaxAlpha);
            return;
        }
        // The reminder on show stays, with its new count; when it is gone, the one
        // that took its place comes up as the next display, or the window slides out.
        if (const int index = findShownRow(); index >= 0) {
            FCurrentIndex = index;
            showCurrentRow();
        } else {
            FCurrentIndex = std::clamp(FCurrentIndex, 0, static_cast<int>(FExpiredEvents.size())) - 1;
            CycleEvents();
        }
    });
}

const TListViewEventItem* TfrmEventNotify::showCurrentRow()
{
    lblEventCount->clear();
    lblEventDesc->clear();
    lblEventCategory->clear();
    lblEventTime->setText(_("No event reminders"));
    const TEvent* shownBefore = std::exchange(FShownEvent, nullptr);

    if (FExpiredEvents.empty()) {
        update();
        if (isVisible() || HasPopedUp())
            PopDown();
        return nullptr;
    }

    const int count = static_cast<int>(FExpiredEvents.size());
    const TListViewEventItem* row = FExpiredEvents[static_cast<size_t>(FCurrentIndex)].get();
    TEvent* event = FEventList ? FEventList->GetEvent(row->EventIndex) : nullptr;
    if (!rowIsValid(event, *row)) {
        update();
        return nullptr;
    }

    lblEventCount->setText(QStringLiteral("%1 / %2").arg(FCurrentIndex + 1).arg(count));
    const QPixmap importance = importancePicture(event->Importance, devicePixelRatioF());
    Image2->setPixmap(importance);
    Image2->setVisible(!importance.isNull()); // normal importance shows none

    QString dateText;
    QString text;
    QString category;
    GetNotificationInfo(*row, dateText, text, category);
    lblEventTime->setText(dateText);
    lblEventDesc->setText(text);
    lblEventCategory->setText(category);

    // While it lies in the work area, each display pins it to the bottom edge and on top.
    if (HasPopedUp()) {
        move(x(), workAreaBottom() - height());
        if (isVisible())
            raise();
    }
    btnExecute->setEnabled(event->CommandsMayRun(*row));

    const TDateTime date = FEventList->GetEventViewDateTime(row);
    if (event != shownBefore || date != FShownDate)
        FShownSince.start();
    FShownEvent = event;
    FShownDate = date;
    update();
    return row;
}

void TfrmEventNotify::GetNotificationInfo(const TListViewEventItem& Item, QString& DateText, QString& Text,
                                          QString& Category) const
{
    wrapExceptions("TfrmEventNotify.GetNotificationInfo", [&] {
        if (!FEventList)
            throw EListError(Item.EventIndex);
        const TDateTime date = FEventList->GetEventViewDateTime(&Item);
        const TEvent* event = FEventList->GetEvent(Item.EventIndex);
        if (!event)
            throw EListError(Item.EventIndex);
        DateText = formatDateTime(
            event->UseTime ? QStringLiteral("dddd, d mmmm yyyy tt") : QStringLiteral("dddd, d mmmm yyyy"), date);
        Text = event->GetDescription();
        Category = event->Category;
    });
}

int TfrmEventNotify::findShownRow() const
{
    if (!FShownEvent || !FEventList)
        return -1;
    const auto isShown = [this](int index) {
        const TListViewEventItem& row = *FExpiredEvents[static_cast<size_t>(index)];
        const TEvent* event = FEventList->GetEvent(row.EventIndex);
        return event == FShownEvent && rowIsValid(event, row) && FEventList->GetEventViewDateTime(&row) == FShownDate;
    };
    const int count = static_cast<int>(FExpiredEvents.size());
    // The row on show is most likely still where it was.
    if (FCurrentIndex >= 0 && FCurrentIndex < count && isShown(FCurrentIndex))
        return FCurrentIndex;
    for (int i = 0; i < count; ++i)
        if (isShown(i))
            return i;
    return -1;
}

void TfrmEventNotify::actOnShownRow(const std::function<void(const TListViewEventItem&)>& Action)
{
    const int index = findShownRow();
    if (index >= 0) {
        FCurrentIndex = index;
        const TListViewEventItem row = *FExpiredEvents[static_cast<size_t>(index)];
        Action(row);
        if (OnNotifyEventsChanged)
            OnNotifyEventsChanged();
    }
    CycleEvents();
}

void TfrmEventNotify::DoSnooze()
{
    wrapExceptions("TfrmEventNotify.DoSnooze", [&] {
        const int position = cboSnoozeOptions->currentIndex();
        if (position >= 0 && position < int(snoozeMinutes.size()))
            Snooze(snoozeMinutes[static_cast<size_t>(position)]);
    });
}

void TfrmEventNotify::Snooze(int Minutes)
{
    wrapExceptions("TfrmEventNotify.Snooze",
                   [&] { actOnShownRow([&](const TListViewEventItem& Row) { FEventList->Snooze(Row, Minutes); }); });
}

void TfrmEventNotify::cboSnoozeOptionsChange()
{
    wrapExceptions("TfrmEventNotify.cboSnoozeOptionsChange", [&] { DoSnooze(); });
}

void TfrmEventNotify::btnSnoozeClick()
{
    wrapExceptions("TfrmEventNotify.sbtnSnoozeClick", [&] { DoSnooze(); });
}

void TfrmEventNotify::btnDismissClick()
{
    wrapExceptions("TfrmEventNotify.sbtnDismissClick",
                   [&] { actOnShownRow([&](const TListViewEventItem& Row) { FEventList->Dissmiss(Row); }); });
}

void TfrmEventNotify::btnExecuteClick()
{
    wrapExceptions("TfrmEventNotify.btnExecuteClick", [&] {
        actOnShownRow([&](const TListViewEventItem& Row) {
            // A launch that fails leaves the occurrence due and the display as it is.
            FEventList->GetEvent(Row.EventIndex)->ExecuteCommands(Row);
            FEventList->Dissmiss(Row);
        });
    });
}

void TfrmEventNotify::btnEditEventClick()
{
    wrapExceptions("TfrmEventNotify.sbtnEditEventClick", [&] {
        tmrCycleEvents->stop();
        const auto restartCycling = qScopeGuard([this] { tmrCycleEvents->start(); });

        const int index = findShownRow();
        TEvent* shown = index >= 0 ? FShownEvent : nullptr;
        const std::unique_ptr<TEvent> edited = shown ? editEventInDialog(*shown) : nullptr;
        // The check may have rebuilt the list, or the event may be gone, while the dialog was open.
        if (edited && eventIsInList(shown)) {
            const int again = findShownRow();
            TEvent::Copy(*edited, *shown);
            FEventList->AddCategory(shown->Category);
            if (again >= 0) {
                FCurrentIndex = again;
                shown->ResetNotificationCount(*FExpiredEvents[static_cast<size_t>(again)]);
            }
            if (OnNotifyEventEdited)
                OnNotifyEventEdited();
        }
        CycleEvents();
    });
}

std::unique_ptr<TEvent> TfrmEventNotify::editEventInDialog(const TEvent& Event)
{
    if (OnEditStarting)
        OnEditStarting();
    const auto finished = qScopeGuard([this] {
        if (OnEditFinished)
            OnEditFinished();
    });
    TfrmEditEvent dialog(this);
    // Above the pop-up, 50 pixels in from the screen's right edge.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize full = screen->size();
        dialog.move(full.width() - dialog.width() - 50, full.height() - height() - dialog.height() - 50);
    }
    if (!dialog.Execute(&Event, FEventList ? FEventList->Categories : QStringList()))
        return nullptr;
    return std::move(dialog.FEvent);
}

bool TfrmEventNotify::eventIsInList(const TEvent* Event) const
{
    for (int i = 0; FEventList && i < FEventList->Count(); ++i)
        if (FEventList->GetEvent(i) == Event)
            return true;
    return false;
}

void TfrmEventNotify::Retranslate()
{
    wrapExceptions("TfrmEventNotify.Retranslate", [&] {
        translateTexts();
        CycleEvents();
    });
}

void TfrmEventNotify::runClickHandler(void (TfrmEventNotify::*handler)())
{
    if (FShownSince.isValid() && FShownSince.elapsed() < clickGuard)
        return;
    runHandler(handler);
}

void TfrmEventNotify::runHandler(void (TfrmEventNotify::*handler)())
{
    // Qt's event loop must not see exceptions: the user gets the message instead.
    reportingErrors([&] { (this->*handler)(); });
}
