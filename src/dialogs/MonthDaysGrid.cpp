#include "MonthDaysGrid.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "controls/ReadableColour.h"

namespace {

class CellsModel : public QAbstractTableModel {
public:
    CellsModel(int rows, int columns, MonthDaysGrid* grid)
        : QAbstractTableModel(grid), rows(rows), columns(columns), grid(grid)
    {
    }
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : rows; }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : columns; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::DisplayRole && grid->OnGetText)
            return grid->OnGetText(index.row(), index.column());
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex&) const override { return Qt::ItemIsEnabled; }

private:
    const int rows;
    const int columns;
    MonthDaysGrid* grid;
};

// Lets the owner paint a cell first, then draws its text, never as focused or
// selected, in a colour that reads well on what the owner painted, and the lines.
class CellDelegate : public QStyledItemDelegate {
public:
    explicit CellDelegate(MonthDaysGrid* grid) : QStyledItemDelegate(grid), grid(grid) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem plain = option;
        plain.state &= ~(QStyle::State_HasFocus | QStyle::State_Selected | QStyle::State_MouseOver);
        QColor text = option.palette.color(QPalette::ButtonText);
        if (grid->OnBeforeCellPaint) {
            const QColor painted = paintOwnersPart(*painter, option.rect, index);
            if (painted.alpha() == 255)
                text = readableOn(text, painted);
        }
        plain.palette.setColor(QPalette::Text, text);
        QStyledItemDelegate::paint(painter, plain, index);

        const QRect cell = option.rect;
        painter->save();
        painter->setPen(QPen(Qt::black, 0));
        painter->drawLine(cell.topRight(), cell.bottomRight());
        painter->drawLine(cell.bottomLeft(), cell.bottomRight());
        if (index.column() == 0)
            painter->drawLine(cell.topLeft(), cell.bottomLeft());
        if (index.row() == 0)
            painter->drawLine(cell.topLeft(), cell.topRight());
        painter->restore();
    }

private:
    // Runs the owner's painting on a picture of the cell, puts that on the cell and
    // returns the colour it left in the middle (transparent where it left none).
    QColor paintOwnersPart(QPainter& painter, const QRect& cell, const QModelIndex& index) const
    {
        const qreal ratio = painter.device()->devicePixelRatioF();
        QImage picture(cell.size() * ratio, QImage::Format_ARGB32_Premultiplied);
        picture.setDevicePixelRatio(ratio);
        picture.fill(Qt::transparent);
        {
            QPainter canvas(&picture);
            canvas.translate(-cell.topLeft());
            grid->OnBeforeCellPaint(canvas, index.row(), index.column(), cell);
        }
        painter.drawImage(cell.topLeft(), picture);
        return picture.pixelColor(picture.rect().center());
    }

    MonthDaysGrid* grid;
};

} // namespace

MonthDaysGrid::MonthDaysGrid(int Rows, int Columns, QWidget* parent) : QTableView(parent)
{
    setModel(new CellsModel(Rows, Columns, this));
    setItemDelegate(new CellDelegate(this));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setShowGrid(false); // the cells draw the lines, black on any style
    setFrameShape(QFrame::NoFrame);
    viewport()->setBackgroundRole(QPalette::Button);
    // The grid takes the place its cells take, whatever sizes them.
    for (QHeaderView* header : {horizontalHeader(), verticalHeader()})
        connect(header, &QHeaderView::sectionResized, this, &MonthDaysGrid::fitToCells);
}

void MonthDaysGrid::SetCellSize(int Width, int Height)
{
    // A header would keep its sections as wide as its font's widest letter.
    horizontalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setDefaultSectionSize(Width);
    verticalHeader()->setDefaultSectionSize(Height);
    // The first column and row hold the left and top edges as well.
    horizontalHeader()->resizeSection(0, Width + 1);
    verticalHeader()->resizeSection(0, Height + 1);
    fitToCells();
}

void MonthDaysGrid::fitToCells()
{
    setFixedSize(horizontalHeader()->length(), verticalHeader()->length());
}

void MonthDaysGrid::repaintRow(int Row)
{
    for (int column = 0; column < model()->columnCount(); ++column)
        update(model()->index(Row, column));
}

void MonthDaysGrid::tryFocus(const QModelIndex& target)
{
    bool allowed = true;
    if (OnFocusChanging)
        OnFocusChanging(target.isValid() ? target.row() : -1, target.isValid() ? target.column() : -1, allowed);
    if (allowed && target.isValid())
        setCurrentIndex(target);
}

void MonthDaysGrid::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    tryFocus(indexAt(event->position().toPoint()));
    event->accept();
}

void MonthDaysGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click comes as this event alone: a click of its own.
    mousePressEvent(event);
}

void MonthDaysGrid::keyPressEvent(QKeyEvent* event)
{
    CursorAction action;
    switch (event->key()) {
    case Qt::Key_Up:
        action = MoveUp;
        break;
    case Qt::Key_Down:
        action = MoveDown;
        break;
    case Qt::Key_Left:
        action = MoveLeft;
        break;
    case Qt::Key_Right:
        action = MoveRight;
        break;
    case Qt::Key_Home:
        action = MoveHome;
        break;
    case Qt::Key_End:
        action = MoveEnd;
        break;
    case Qt::Key_PageUp:
        action = MovePageUp;
        break;
    case Qt::Key_PageDown:
        action = MovePageDown;
        break;
    default:
        event->ignore(); // Esc, Enter and the rest belong to the dialog
        return;
    }
    tryFocus(moveCursor(action, event->modifiers()));
    event->accept();
}

void MonthDaysGrid::focusInEvent(QFocusEvent* event)
{
    // A view makes its first cell current when it gets the focus; this grid keeps none.
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}
