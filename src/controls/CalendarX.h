#pragma once

#include <QColor>
#include <QWidget>

#include <array>
#include <functional>

#include "controls/FontStyles.h"
#include "controls/NotifyEvent.h"
#include "events/DateTimeUtils.h"

class QMenu;
class QPainter;

// Asked once for every day cell while it is drawn. Colour (the weekday background)
// and FontStyles (the day number's style) come in preset; the handler may change them.
using TNotifyDateColourFontStyleEvent =
    std::function<void(QObject* Sender, TDateTime Date, QColor& Colour, TFontStyles& FontStyles)>;

// A self-drawn month calendar: a title bar with the month name and the year, a row
// of day names and 6 rows of 7 days starting on Sunday. Clicking the month name or
// the year opens a menu to choose another; clicking a day selects it.
class TCalendarX : public QWidget {
    Q_OBJECT

public:
    explicit TCalendarX(QWidget* AOwner = nullptr);
    ~TCalendarX() override;

    // The selected day, always a whole day. Setting it fires OnDateChanged, also
    // when the day does not change; the month shown stays as it is.
    TDateTime SelectedDate() const { return FSelectedDate; }
    void SetSelectedDate(TDateTime Value);

    // Any date-time in the month shown. Setting a date of another month stores it,
    // rebuilds the grid and fires OnMonthChanged; a date of the same month is ignored.
    TDateTime SelectedMonth() const { return FSelectedMonth; }
    void SetSelectedMonth(TDateTime Value);

    bool HighlightSelectedDate() const { return FHighlightSelectedDate; }
    void SetHighlightSelectedDate(bool Value);
    // Takes effect at the next paint.
    bool HighlightTodaysDate() const { return FHighlightTodaysDate; }
    void SetHighlightTodaysDate(bool Value) { FHighlightTodaysDate = Value; }

    QColor TitleBG() const { return FTitleBG; }
    void SetTitleBG(const QColor& Value);
    QColor TitleFG() const { return FTitleFG; }
    void SetTitleFG(const QColor& Value);
    QColor HighlightBGColour() const { return FHighlightBGColour; }
    void SetHighlightBGColour(const QColor& Value);
    QColor HighlightFGColour() const { return FHighlightFGColour; }
    void SetHighlightFGColour(const QColor& Value);
    QColor WeekendBGColour() const { return FWeekendBGColour; }
    void SetWeekendBGColour(const QColor& Value);

    // The date of the cell in column Col (0 = Sunday) and row Row (0 to 5); raises
    // "Get Date index out of range" outside the grid.
    TDateTime GetCellDate(int Col, int Row) const;

    // Geometry in pixels, from the current size.
    int GetColWidth() const { return width() / 7; }
    int GetTitleHeight() const { return height() / 7; }
    int GetDayNameHeight() const { return height() / 7; }
    int GetHeaderHeight() const { return GetTitleHeight() + GetDayNameHeight(); }
    int GetGridHeight() const { return height() - GetHeaderHeight(); }
    int GetRowHeight() const { return GetGridHeight() / 6; }

    TNotifyEvent OnDateChanged;
    TNotifyEvent OnMonthChanged;
    TNotifyEvent OnDblClickDate;
    TNotifyDateColourFontStyleEvent OnBeforePaintDayBG;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void BuildDateGrid();
    void Paint();
    void PaintTitle(QPainter& painter);
    void PaintDayNames(QPainter& painter);
    void PaintCell(QPainter& painter, const QFont& dayFont, int Col, int Row);
    void MouseDown(Qt::MouseButton Button, bool DoubleClick, int X, int Y);
    void MonthMenuItemClick(int Month);
    void YearMenuPopup();
    void YearMenuItemClick(const QString& Caption);

    TDateTime FSelectedDate = 0;
    TDateTime FSelectedMonth = 0;
    std::array<TDateTime, 42> FCellDates{};
    int FMonthTextWidth = 0; // of the title's month text as last drawn; 0 before the first paint
    int FYearTextWidth = 0;
    QMenu* FMonthMenu = nullptr; // owned as a child
    QMenu* FYearMenu = nullptr;
    bool FHighlightSelectedDate = true;
    bool FHighlightTodaysDate = true;
    QColor FTitleBG;
    QColor FTitleFG;
    QColor FHighlightBGColour;
    QColor FHighlightFGColour;
    bool FUpdating = false; // SetSelectedDate is storing and repainting
    QColor FWeekendBGColour;
    bool FPainting = false;
    bool FPaintErrorPending = false; // a failed paint waits to be reported
};
