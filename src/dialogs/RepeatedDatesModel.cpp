#include "RepeatedDatesModel.h"

#include "events/DateTimeList.h"

QString repeatedDateText(TDateTime DateTime)
{
    const bool atMidnight = dateOf(DateTime) == DateTime;
    return formatDateTime(atMidnight ? QStringLiteral("dddddd") : QStringLiteral("dddddd, tt"), DateTime);
}

RepeatedDatesModel::RepeatedDatesModel(QObject* parent) : QAbstractListModel(parent) {}

void RepeatedDatesModel::setDates(const TDateTimeList* Dates)
{
    beginResetModel();
    dates = Dates;
    endResetModel();
}

int RepeatedDatesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !dates ? 0 : dates->GetCount();
}

QVariant RepeatedDatesModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !dates || index.row() < 0 || index.row() >= dates->GetCount())
        return {};
    return repeatedDateText(dates->GetItem(index.row())->DateTime);
}
