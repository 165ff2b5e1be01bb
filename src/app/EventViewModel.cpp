#include "EventViewModel.h"

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QPixmap>
#include <QSize>
#include <QTextDocument>

#include <algorithm>

#include "CountdownText.h"
#include "PictureList.h"
#include "events/Exceptions.h"
#include "events/WhenText.h"
#include "events/file/FileValues.h"
#include "platform/GetText.h"

namespace {

// The lines a text splits into at CR, LF or CR LF; a final line break starts no
// new line, and an empty text has none.
int lineCount(const QString& text)
{
    int lines = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r')) {
            ++lines;
            if (i + 1 < size && text[i + 1] == QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('\n')) {
            ++lines;
        }
    }
    if (size > 0 && text.back() != QLatin1Char('\r') && text.back() != QLatin1Char('\n'))
        ++lines;
    return lines;
}

// Only the ASCII letters a-z become capitals; accented letters keep their case.
QString asciiUpper(QString text)
{
    for (QChar& c : text)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - ('a' - 'A'));
    return text;
}

// The sort key of a row, read once per row before sorting.
struct SortedRow {
    TDateTime when;
    bool enabled;
    TEventImportance importance;
    TListViewEventItem item;
};

// Earlier first; at the same time enabled before disabled, then higher importance first.
bool goesBefore(const SortedRow& a, const SortedRow& b)
{
    if (const int byTime = CompareDateTimes(a.when, b.when))
        return byTime < 0;
    if (a.enabled != b.enabled)
        return a.enabled;
    return CompareImportance(a.importance, b.importance) < 0;
}

const QColor RowBackground(0xFF, 0xFF, 0xFF);
const QColor AlternateRowBackground(0xEE, 0xEE, 0xEE);
const QColor PastColour(0xFF, 0x00, 0x00);
const QColor SelectedDayColour(0x00, 0x00, 0xFF);
const QColor DisabledColour(0xC0, 0xC0, 0xC0);

constexpr int MinimumRowHeight = 40;
constexpr int RowTextPadding = 8; // the text margin above and below

} // namespace

EventViewModel::EventViewModel(const PictureList& AlarmRepeatPictures, const PictureList& PriorityPictures,
                               QObject* parent)
    : QAbstractItemModel(parent), FAlarmRepeatPictures(AlarmRepeatPictures), FPriorityPictures(PriorityPictures),
      FHintRoom(hintRoomOn(QGuiApplication::primaryScreen()))
{
}

void EventViewModel::setRows(const TEventList& Events, const TListViewEventItems& View)
{
    std::vector<SortedRow> sorted;
    sorted.reserve(View.size());
    wrapExceptions("TfrmQuillet.vstEventsCompareNodes", [&] {
        for (const auto& item : View) {
            const TEvent* event = Events.GetEvent(item->EventIndex);
            if (!event)
                throw EListError(item->EventIndex);
            sorted.push_back({Events.GetEventViewDateTime(item.get()), event->Enabled, event->Importance, *item});
        }
    });
    // Stable, so rows that tie keep the order in which the view listed them.
    std::stable_sort(sorted.begin(), sorted.end(), goesBefore);

    beginResetModel();
    FEvents = &Events;
    FRows.clear();
    FRows.reserve(sorted.size());
    for (const SortedRow& row : sorted)
        FRows.push_back(row.item);
    endResetModel();
}

void EventViewModel::clearRows()
{
    beginResetModel();
    FEvents = nullptr;
    FRows.clear();
    FRows.shrink_to_fit();
    endResetModel();
}

const TListViewEventItem* EventViewModel::item(int row) const
{
    if (row < 0 || row >= static_cast<int>(FRows.size()))
        return nullptr;
    return &FRows[static_cast<size_t>(row)];
}

TDateTime EventViewModel::occurrenceDateTime(int row) const
{
    return FEvents ? FEvents->GetEventViewDateTime(item(row)) : 0;
}

QModelIndex EventViewModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || row >= rowCount() || column < 0 || column >= ColumnCount)
        return {};
    return createIndex(row, column);
}

QModelIndex EventViewModel::parent(const QModelIndex&) const
{
    return {};
}

int EventViewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(FRows.size());
}

int EventViewModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

Qt::ItemFlags EventViewModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

QVariant EventViewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole) {
        switch (section) {
        case ColWhen:
            return _("When");
        case ColCountdown:
            return _("Countdown");
        case ColImportance:
            return QStringLiteral("!");
        case ColEvent:
            return _("Event");
        case ColCategory:
            return _("Category");
        default:
            return QString();
        }
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(
            Qt::Alignment(section >= ColEvent ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter));
    return {};
}

QVariant EventViewModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int row = index.row();
    const int column = index.column();
    try {
        switch (role) {
        case Qt::DisplayRole:
            return cellText(row, column);
        case Qt::ForegroundRole:
            return textColour(row);
        case Qt::FontRole:
            if (!eventOf(row)->Enabled) {
                QFont struckOut;
                struckOut.setStrikeOut(true);
                return struckOut;
            }
            return {};
        case Qt::BackgroundRole:
            return row % 2 ? AlternateRowBackground : RowBackground;
        case Qt::DecorationRole:
            return picture(row, column);
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(
                Qt::Alignment(column >= ColEvent ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter));
        case Qt::ToolTipRole: {
            const QString& notes = eventOf(row)->Notes;
            if (QStringView(notes).trimmed().isEmpty())
                return {};
            // As rich text, so the line breaks hold and nothing in the notes reads as markup.
            return Qt::convertFromPlainText(textForHint(notes, FHintRoom), Qt::WhiteSpaceNormal);
        }
        case Qt::SizeHintRole:
            if (column == ColPicture)
                return QSize(-1, rowHeight(row));
            return {};
        default:
            return {};
        }
    } catch (const std::exception&) {
        // A row whose event is gone (the list changed without a refresh) must not
        // stop the list from painting; its cells show "?" until the next refresh.
        if (role == Qt::DisplayRole)
            return QStringLiteral("?");
        return {};
    }
}

QString EventViewModel::cellTextBeginning(const QModelIndex& index, qsizetype MaxLength) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    try {
        if (index.column() != ColEvent)
            return cellText(index.row(), index.column()).left(MaxLength);
        QStringView text = trimBlanksAndControls(eventOf(index.row())->Description);
        if (text.size() > MaxLength) {
            text.truncate(MaxLength);
            // Half a character would draw as a box.
            if (!text.isEmpty() && text.back().isHighSurrogate())
                text.chop(1);
        }
        return text.toString();
    } catch (const std::exception&) {
        return QStringLiteral("?");
    }
}

QModelIndexList EventViewModel::match(const QModelIndex& start, int role, const QVariant& value, int hits,
                                      Qt::MatchFlags flags) const
{
    const bool typeAhead = role == Qt::DisplayRole && (flags & Qt::MatchTypeMask) == Qt::MatchStartsWith &&
                           start.isValid() && !start.parent().isValid();
    if (!typeAhead)
        return QAbstractItemModel::match(start, role, value, hits, flags);

    QModelIndexList found;
    const int count = rowCount();
    const QString text = value.toString();
    for (int step = 0; step < count && (hits < 0 || found.size() < hits); ++step) {
        int row = start.row() + step;
        if (row >= count) {
            if (!(flags & Qt::MatchWrap))
                break;
            row -= count;
        }
        if (rowMatchesSearch(row, text))
            found << index(row, start.column());
    }
    return found;
}

bool EventViewModel::rowMatchesSearch(int row, const QString& Text) const
{
    const TListViewEventItem* rowItem = item(row);
    const TEvent* event = rowItem ? FEvents->GetEvent(rowItem->EventIndex) : nullptr;
    if (!event)
        return false;
    const QString wanted = asciiUpper(Text);
    return asciiUpper(event->Description).contains(wanted) || asciiUpper(event->Category).contains(wanted);
}

const TEvent* EventViewModel::eventOf(int row) const
{
    const TListViewEventItem* rowItem = item(row);
    const TEvent* event = rowItem ? FEvents->GetEvent(rowItem->EventIndex) : nullptr;
    if (!event)
        throw EListError(rowItem ? rowItem->EventIndex : row);
    return event;
}

QString EventViewModel::cellText(int row, int column) const
{
    switch (column) {
    case ColWhen:
        return formatWhen(*eventOf(row), occurrenceDateTime(row));
    case ColCountdown:
        return GetCountdownText(occurrenceDateTime(row), !eventOf(row)->UseTime);
    case ColEvent: {
        const QString& description = eventOf(row)->Description;
        const QStringView trimmed = trimBlanksAndControls(description);
        // Shared rather than copied where nothing is trimmed: a description may be long.
        return trimmed.size() == description.size() ? description : trimmed.toString();
    }
    case ColCategory:
        return eventOf(row)->Category;
    default:
        return QString();
    }
}

QVariant EventViewModel::textColour(int row) const
{
    const TEvent* event = eventOf(row);
    const TDateTime when = occurrenceDateTime(row);
    if (!event->Enabled)
        return DisabledColour;
    if (SelectedDate && isSameDay(when, SelectedDate()))
        return SelectedDayColour;
    if (Now() > when)
        return PastColour;
    return QColor(Qt::black);
}

QVariant EventViewModel::picture(int row, int column) const
{
    const TEvent* event = eventOf(row);
    if (column == ColPicture) {
        if (!event->Enabled)
            return {};
        const bool reminder = event->HasReminder();
        const bool repeats = event->HasRepeatedEvents();
        const int index = reminder && repeats ? 2 : reminder ? 0 : repeats ? 4 : -1;
        if (index < 0)
            return {};
        return FAlarmRepeatPictures.picture(index);
    }
    if (column == ColImportance) {
        const int index = event->Importance == eiLow       ? 0
                          : event->Importance == eiHigh    ? 2
                          : event->Importance == eiHighest ? 4
                                                           : -1;
        if (index < 0)
            return {};
        return event->Enabled ? FPriorityPictures.picture(index) : FPriorityPictures.disabledPicture(index);
    }
    return {};
}

int EventViewModel::rowHeight(int row) const
{
    const int textHeight = std::max(lineCount(eventOf(row)->Description), 2) * FLineHeight;
    return std::max(MinimumRowHeight, RowTextPadding + textHeight);
}
