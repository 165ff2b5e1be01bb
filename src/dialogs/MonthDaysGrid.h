#pragma once

#include <QTableView>

#include <functional>

class QPainter;

// A fixed grid of cells that its owner describes through three callbacks: the text
// of a cell, its painting before the text is drawn, and every attempt to move the
// focus to a cell (by mouse or keyboard), which the owner may refuse. A refused
// attempt leaves no cell current, so clicking the same cell again is a new attempt;
// nothing is ever drawn as focused or selected. Black lines part the cells and
// frame the grid; the cells lie on the button colour.
class MonthDaysGrid : public QTableView {
    Q_OBJECT

public:
    MonthDaysGrid(int Rows, int Columns, QWidget* parent = nullptr);

    std::function<QString(int Row, int Column)> OnGetText;
    std::function<void(QPainter& Canvas, int Row, int Column, const QRect& CellRect)> OnBeforeCellPaint;
    // Row and Column are -1 for an attempt that names no cell.
    std::function<void(int Row, int Column, bool& Allowed)> OnFocusChanging;

    // Each cell's size, the lines on its right and bottom included; the grid takes
    // the size of its cells and the lines along its left and top edges.
    void SetCellSize(int Width, int Height);

    // Draws the cells of a row again.
    void repaintRow(int Row);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void fitToCells();
    void tryFocus(const QModelIndex& target);
};
