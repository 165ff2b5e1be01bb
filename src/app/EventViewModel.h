#pragma once

#include <QAbstractItemModel>

#include <functional>
#include <vector>

#include "HintRoom.h"
#include "events/EventList.h"

class PictureList;

// The rows of the main window's event list: one occurrence per row, in display
// order. Each row keeps only its two indexes into the event list; every cell is
// read from the event list when it is asked for, so only painted rows cost text.
class EventViewModel : public QAbstractItemModel {
    Q_OBJECT

public:
    enum Column { ColPicture, ColWhen, ColCountdown, ColImportance, ColEvent, ColCategory, ColumnCount };

    EventViewModel(const PictureList& AlarmRepeatPictures, const PictureList& PriorityPictures,
                   QObject* parent = nullptr);

    // Replaces the rows with copies of the view's rows, sorted for display: by
    // occurrence (1 ms tolerance), then enabled before disabled, then by importance.
    // The rows index Events, which must outlive them (until clearRows or the next setRows).
    void setRows(const TEventList& Events, const TListViewEventItems& View);
    void clearRows();

    // The row copy of a display row; nullptr outside the rows.
    const TListViewEventItem* item(int row) const;
    TDateTime occurrenceDateTime(int row) const;

    // The beginning of a cell's text, at most MaxLength characters of it: all that a
    // painter needs of a text that may run to millions of characters.
    QString cellTextBeginning(const QModelIndex& index, qsizetype MaxLength) const;

    // The height of one line of description text in the list's font.
    void setLineHeight(int pixels) { FLineHeight = pixels; }
    // How much of the notes a hint shows; the primary screen's room at first.
    void setHintRoom(const HintRoom& Room) { FHintRoom = Room; }
    // Rows of this day are blue; asked whenever a row is painted.
    std::function<TDateTime()> SelectedDate;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // The views' type-ahead asks for display texts starting with what was typed;
    // the list answers with the first row, from start on and wrapping round, whose
    // description or else category contains the typed text (ASCII letters in any case).
    QModelIndexList match(const QModelIndex& start, int role, const QVariant& value, int hits = 1,
                          Qt::MatchFlags flags = Qt::MatchFlags(Qt::MatchStartsWith | Qt::MatchWrap)) const override;

private:
    // Whether the row's description, or else its category, contains Text with ASCII
    // letters compared in any case.
    bool rowMatchesSearch(int row, const QString& Text) const;
    const TEvent* eventOf(int row) const;
    QString cellText(int row, int column) const;
    QVariant textColour(int row) const;
    QVariant picture(int row, int column) const;
    int rowHeight(int row) const;

    const TEventList* FEvents = nullptr; // the list the rows index
    const PictureList& FAlarmRepeatPictures;
    const PictureList& FPriorityPictures;
    std::vector<TListViewEventItem> FRows;
    int FLineHeight = 13;
    HintRoom FHintRoom;
};
