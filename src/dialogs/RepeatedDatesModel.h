#pragma once

#include <QAbstractListModel>

#include "events/DateTimeUtils.h"

class TDateTimeList;

// One line per entry of a date list, in list order, formatted when it is shown:
// the long date alone for an entry at midnight, else the long date and long time.
class RepeatedDatesModel : public QAbstractListModel {
    Q_OBJECT

public:
    explicit RepeatedDatesModel(QObject* parent = nullptr);

    // Shows Dates (not owned; nullptr for none) from its first entry on.
    void setDates(const TDateTimeList* Dates);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const TDateTimeList* dates = nullptr;
};

// The text of one entry of the list.
QString repeatedDateText(TDateTime DateTime);
