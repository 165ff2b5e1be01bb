// The event list view: its columns, rows, keys and mouse.
#include "MainForm.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTreeView>

#include <QHelpEvent>
#include <QToolTip>

#include <algorithm>
#include <functional>
#include <memory>

#include "EventPictures.h"
#include "EventRowDelegate.h"
#include "EventViewModel.h"
#include "HintRoom.h"
#include "PictureList.h"
#include "events/WhenText.h"
#include "platform/gui/ErrorReport.h"

namespace {

// Hands the events a widget receives to a handler; the handler's answer decides
// whether the widget still sees them.
class EventHook : public QObject {
public:
    EventHook(QObject* watched, std::function<bool(QEvent*)> handler) : QObject(watched), FHandler(std::move(handler))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override { return FHandler(event); }

private:
    std::function<bool(QEvent*)> FHandler;
};

struct ColumnLayout {
    int width;
    bool fixed; // neither resized nor moved by the user
};

// By column index: the picture, "When", "Countdown", "!", "Event", "Category".
constexpr ColumnLayout Columns[EventViewModel::ColumnCount] = {{36, true}, {110, false}, {90, false},
                                                               {20, true}, {235, false}, {60, false}};

// The "When" column's width: the widest timed row of the current locale's format in
// Font, and never below the design width. Month and day names, and a short time
// with or without a day period, differ in width: every month and weekday is tried.
int whenColumnWidth(const QFont& Font)
{
    const QFontMetrics metrics(Font);
    TEvent timed;
    timed.UseTime = true;
    int widest = 0;
    for (int month = 1; month <= 12; ++month)
        for (int day = 22; day <= 28; ++day) // seven weekdays
            for (int hour : {10, 22})
                widest = std::max(widest, metrics.horizontalAdvance(
                                              formatWhen(timed, encodeDateTime(2000, month, day, hour, 59, 59, 0))));
    return std::max(Columns[EventViewModel::ColWhen].width, widest + 2 * EventRowDelegate::TextMargin + 2);
}

// Shows a row's hint until the mouse leaves the row, however long it rests there
// (tool tips otherwise expire after about ten seconds), with as much of the notes
// as the screen under the mouse can hold.
bool showLastingHint(QTreeView* View, EventViewModel* Rows, QEvent* Event)
{
    auto* help = static_cast<QHelpEvent*>(Event);
    const QScreen* screen = QGuiApplication::screenAt(help->globalPos());
    Rows->setHintRoom(hintRoomOn(screen ? screen : View->screen()));
    const QModelIndex index = View->indexAt(help->pos());
    const QString hint = index.data(Qt::ToolTipRole).toString();
    if (hint.isEmpty()) {
        QToolTip::hideText();
        return true;
    }
    QRect row = View->visualRect(index);
    row.setLeft(0);
    row.setRight(View->viewport()->width());
    constexpr int Day = 24 * 60 * 60 * 1000; // ms; far longer values overflow Qt's timers
    QToolTip::showText(help->globalPos(), hint, View->viewport(), row, Day);
    return true;
}

} // namespace

void TfrmQuillet::setupEventList()
{
    ilstAlarmRepeat = std::make_unique<PictureList>(makeAlarmRepeatPictures(devicePixelRatioF()));
    ilstPriority = std::make_unique<PictureList>(makePriorityPictures(devicePixelRatioF()));
    FEventViewModel = new EventViewModel(*ilstAlarmRepeat, *ilstPriority, this);
    FEventViewModel->SelectedDate = [this] { return GetSelectedDate(); };
    FEventViewModel->setLineHeight(vstEvents->fontMetrics().height());

    vstEvents->setModel(FEventViewModel);
    vstEvents->setItemDelegate(new EventRowDelegate(vstEvents));
    vstEvents->setSelectionBehavior(QAbstractItemView::SelectRows);
    vstEvents->setSelectionMode(QAbstractItemView::SingleSelection);
    vstEvents->setEditTriggers(QAbstractItemView::NoEditTriggers);
    vstEvents->setRootIsDecorated(false);
    vstEvents->setItemsExpandable(false);
    vstEvents->setExpandsOnDoubleClick(false);
    vstEvents->setIndentation(0);
    // Row by row: scrolling by pixels would need the height of every row up front.
    vstEvents->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    // No focus frame: the list takes its first row as current whenever it gets the
    // focus after a refresh, and only the yellow selection shows a row.
    vstEvents->setAllColumnsShowFocus(false);
    QPalette white = vstEvents->palette();
    white.setColor(QPalette::Base, Qt::white);
    vstEvents->setPalette(white);

    QHeaderView* header = vstEvents->header();
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(0);
    header->setSectionsMovable(true);
    header->setSectionsClickable(false); // the list stays in date order
    header->setHighlightSections(false);
    header->setFixedHeight(18);
    QPalette headerColours = header->palette();
    headerColours.setColor(QPalette::Button, Qt::white);
    headerColours.setColor(QPalette::Window, Qt::white);
    headerColours.setColor(QPalette::ButtonText, Qt::black); // on the fixed white, whatever the desktop's colours
    headerColours.setColor(QPalette::WindowText, Qt::black);
    header->setPalette(headerColours);
    for (int column = 0; column < EventViewModel::ColumnCount; ++column) {
        header->resizeSection(column, column == EventViewModel::ColWhen ? whenColumnWidth(vstEvents->font())
                                                                        : Columns[column].width);
        header->setSectionResizeMode(column, Columns[column].fixed ? QHeaderView::Fixed : QHeaderView::Interactive);
    }
    // Qt lets every section be dragged; the picture and "!" columns go back to their place.
    connect(header, &QHeaderView::sectionMoved, this, [header](int logical, int oldVisual, int newVisual) {
        if (Columns[logical].fixed && oldVisual != newVisual) {
            const QSignalBlocker block(header);
            header->moveSection(newVisual, oldVisual);
        }
    });

    // A release counts only when it ends a key stroke the list received: the Enter
    // that closed another window (the About box, the delete question) and is let go
    // here must not edit. A key held here acts once, when it is let go; the
    // application keeps its repeats out of the window that this opens.
    auto pressedKey = std::make_shared<int>(0);
    new EventHook(vstEvents, [this, pressedKey](QEvent* event) {
        if (event->type() == QEvent::KeyPress) {
            *pressedKey = static_cast<QKeyEvent*>(event)->key();
        } else if (event->type() == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (!key->isAutoRepeat() && key->key() == *pressedKey) {
                *pressedKey = 0;
                reportingErrors([&] { vstEventsKeyUp(key->key()); });
            }
        } else if (event->type() == QEvent::FocusOut) {
            *pressedKey = 0;
        }
        return false;
    });
    new EventHook(vstEvents->viewport(), [this](QEvent* event) {
        if (event->type() == QEvent::MouseButtonDblClick &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            reportingErrors([this] { vstEventsDblClick(); });
        else if (event->type() == QEvent::Resize)
            vstEventsResize();
        else if (event->type() == QEvent::ToolTip)
            return showLastingHint(vstEvents, FEventViewModel, event);
        return false;
    });
}

const TListViewEventItem* TfrmQuillet::selectedEventItem() const
{
    const QModelIndexList rows = vstEvents->selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : FEventViewModel->item(rows.first().row());
}

void TfrmQuillet::vstEventsKeyUp(int Key)
{
    if (Key == Qt::Key_Return || Key == Qt::Key_Enter)
        actEditEvent->trigger();
    else if (Key == Qt::Key_Delete)
        actDeleteSelectedEvent->trigger();
}

void TfrmQuillet::vstEventsDblClick()
{
    actEditEvent->trigger();
}

void TfrmQuillet::vstEventsResize()
{
    QHeaderView* header = vstEvents->header();
    int others = 0;
    for (int column = 0; column < EventViewModel::ColumnCount; ++column)
        if (column != EventViewModel::ColEvent)
            others += header->sectionSize(column);
    header->resizeSection(EventViewModel::ColEvent, std::max(0, vstEvents->viewport()->width() - others));
}
