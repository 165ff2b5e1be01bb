#pragma once

#include <QStyledItemDelegate>

// Paints the cells of the event list: the row's background (yellow when
// selected), grid lines, a picture centred in its cell and the text in the row's
// colour and font, wrapped over as many lines as the row holds; the last of them
// ends with "…" when the text goes on.
class EventRowDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // Rows take their height from the model's size hint of their first cell.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    static constexpr int TextMargin = 4; // around a cell's text

private:
    static void paintText(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index);
};
