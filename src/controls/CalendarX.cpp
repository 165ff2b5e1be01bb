#include "CalendarX.h"

#include <QFontMetrics>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScopeGuard>
#include <QTimer>

#include <algorithm>

#include "events/Exceptions.h"
#include "platform/gui/ErrorReport.h"

namespace {

// English on purpose: the calendar's names are never translated.
const char* const MonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                    "July",    "August",   "September", "October", "November", "December"};
const char* const DayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

constexpr int YearMenuItems = 11;
const QColor White(0xFF, 0xFF, 0xFF);
const QColor Black(0x00, 0x00, 0x00);
const QColor Grey(0xC0, 0xC0, 0xC0);
const QColor Red(0xFF, 0x00, 0x00);

// A font whose character cell (ascent + descent) is cellHeight pixels high, the
// way the calendar sizes all its texts from the space they have.
QFont fontWithCellHeight(const QString& family, int cellHeight, bool bold)
{
    QFont font(family);
    font.setBold(bold);
    font.setPixelSize(std::max(1, cellHeight));
    const int measured = QFontMetrics(font).height();
    if (measured <= cellHeight)
        return font;
    int pixels = std::max(1, cellHeight * cellHeight / measured);
    font.setPixelSize(pixels);
    while (pixels > 1 && QFontMetrics(font).height() > cellHeight)
        font.setPixelSize(--pixels);
    return font;
}

// Draws text with its cell's top-left corner at (x, y).
void drawTextAt(QPainter& painter, int x, int y, const QString& text)
{
    painter.drawText(x, y + painter.fontMetrics().ascent(), text);
}

int monthOf(TDateTime value)
{
    int year = 0, month = 0, day = 0;
    decodeDate(value, year, month, day);
    return month;
}

} // namespace

TCalendarX::TCalendarX(QWidget* AOwner) : QWidget(AOwner)
{
    FYearMenu = new QMenu(this);
    FYearMenu->setObjectName(QStringLiteral("FYearMenu"));
    connect(FYearMenu, &QMenu::aboutToShow, this, &TCalendarX::YearMenuPopup);
    for (int i = 0; i < YearMenuItems; ++i) {
        QAction* item = FYearMenu->addAction(QString());
        connect(item, &QAction::triggered, this,
                [this, item] { reportingErrors([&] { YearMenuItemClick(item->text()); }); });
    }

    FMonthMenu = new QMenu(this);
    FMonthMenu->setObjectName(QStringLiteral("FMonthMenu"));
    for (int month = 1; month <= 12; ++month) {
        QAction* item = FMonthMenu->addAction(QString::fromLatin1(MonthNames[month - 1]));
        connect(item, &QAction::triggered, this,
                [this, month] { reportingErrors([&] { MonthMenuItemClick(month); }); });
    }

    resize(100, 100);
    setAttribute(Qt::WA_OpaquePaintEvent); // every paint covers the whole control
    FTitleBG = QColor(0x00, 0x00, 0x80);
    FTitleFG = White;
    FHighlightBGColour = QColor(0x00, 0x00, 0x80);
    FHighlightFGColour = White;
    FWeekendBGColour = Grey;
    FSelectedDate = Date();
    FSelectedMonth = FSelectedDate;
    BuildDateGrid();
}

TCalendarX::~TCalendarX() = default;

void TCalendarX::SetSelectedDate(TDateTime Value)
{
    // A paint handler that selects a day while this call repaints must not recurse.
    if (FUpdating)
        return;
    {
        FUpdating = true;
        const auto done = qScopeGuard([this] { FUpdating = false; });
        Value = dateOf(Value);
        if (Value != FSelectedDate) {
            FSelectedDate = Value;
            // A paint handler's selection is drawn by the next paint: Qt cannot paint within a paint.
            if (FPainting)
                update();
            else
                repaint();
        }
    }
    // Also for the day already selected: the owner moves its highlight on this.
    if (OnDateChanged)
        OnDateChanged(this);
}

void TCalendarX::SetSelectedMonth(TDateTime Value)
{
    int year = 0, month = 0, day = 0, oldYear = 0, oldMonth = 0;
    decodeDate(Value, year, month, day);
    decodeDate(FSelectedMonth, oldYear, oldMonth, day);
    // Owners keeping several calendars in step rely on this to end their chain.
    if (year == oldYear && month == oldMonth)
        return;
    FSelectedMonth = Value;
    BuildDateGrid();
    update();
    if (OnMonthChanged)
        OnMonthChanged(this);
}

void TCalendarX::SetHighlightSelectedDate(bool Value)
{
    if (Value == FHighlightSelectedDate)
        return;
    FHighlightSelectedDate = Value;
    update();
}

void TCalendarX::SetTitleBG(const QColor& Value)
{
    FTitleBG = Value;
    update();
}

void TCalendarX::SetTitleFG(const QColor& Value)
{
    FTitleFG = Value;
    update();
}

void TCalendarX::SetHighlightBGColour(const QColor& Value)
{
    FHighlightBGColour = Value;
    update();
}

void TCalendarX::SetHighlightFGColour(const QColor& Value)
{
    FHighlightFGColour = Value;
    update();
}

void TCalendarX::SetWeekendBGColour(const QColor& Value)
{
    FWeekendBGColour = Value;
    update();
}

TDateTime TCalendarX::GetCellDate(int Col, int Row) const
{
    const int index = Col + Row * 7;
    if (index < 0 || index >= static_cast<int>(FCellDates.size()))
        throw QuilletError(QStringLiteral("Get Date index out of range"));
    return FCellDates[index];
}

// Row 0 starts on the Sunday before the 1st; a month that begins on a Sunday
// shows the whole week before it in row 0.
void TCalendarX::BuildDateGrid()
{
    int year = 0, month = 0, day = 0;
    decodeDate(FSelectedMonth, year, month, day);
    const TDateTime first = encodeDate(year, month, 1);
    const int weekday = dayOfTheWeek(first); // 7 for Sunday
    for (int i = 0; i < static_cast<int>(FCellDates.size()); ++i)
        FCellDates[i] = first + (i - weekday);
}

// A failing paint handler is reported once the paint is over (a message box cannot
// open inside a paint), and only one report waits at a time.
void TCalendarX::paintEvent(QPaintEvent*)
{
    try {
        Paint();
    } catch (const std::exception& error) {
        if (FPaintErrorPending)
            return;
        FPaintErrorPending = true;
        QTimer::singleShot(0, this, [this, message = exceptionMessage(error)] {
            showErrorReport(message);
            FPaintErrorPending = false;
        });
    }
}

void TCalendarX::Paint()
{
    FPainting = true;
    const auto done = qScopeGuard([this] { FPainting = false; });
    QPainter painter(this);
    painter.fillRect(rect(), White);
    PaintTitle(painter);
    PaintDayNames(painter);
    const QFont dayFont =
        fontWithCellHeight(QStringLiteral("Arial"), std::min(GetColWidth(), GetRowHeight()) * 3 / 4, false);
    for (int row = 0; row < 6; ++row)
        for (int col = 0; col < 7; ++col)
            PaintCell(painter, dayFont, col, row);
}

void TCalendarX::PaintTitle(QPainter& painter)
{
    const int titleH = GetTitleHeight();
    painter.fillRect(0, 0, width(), titleH, FTitleBG);
    painter.setFont(fontWithCellHeight(QStringLiteral("Arial"), titleH * 4 / 5, true));
    painter.setPen(FTitleFG);
    const QFontMetrics metrics = painter.fontMetrics();
    const int y = (titleH - metrics.height()) / 2;

    const QString monthText = QLatin1Char(' ') + QString::fromLatin1(MonthNames[monthOf(FSelectedMonth) - 1]);
    FMonthTextWidth = metrics.horizontalAdvance(monthText);
    drawTextAt(painter, 0, y, monthText);

    const QString yearText = formatDateTime(QStringLiteral("yyyy "), FSelectedMonth);
    FYearTextWidth = metrics.horizontalAdvance(yearText);
    drawTextAt(painter, width() - FYearTextWidth, y, yearText);
}

void TCalendarX::PaintDayNames(QPainter& painter)
{
    const int titleH = GetTitleHeight();
    const int dayNameH = GetDayNameHeight();
    const int colW = GetColWidth();
    painter.fillRect(0, titleH, width(), dayNameH, White);
    painter.setFont(fontWithCellHeight(QStringLiteral("Arial Narrow"), dayNameH * 5 / 8, false));
    painter.setPen(Black);
    const QFontMetrics metrics = painter.fontMetrics();
    for (int i = 0; i < 7; ++i) {
        if (i == 0 || i == 6)
            painter.fillRect(i * colW, titleH, colW + 1, dayNameH, FWeekendBGColour);
        const QString name = QString::fromLatin1(DayNames[i]);
        drawTextAt(painter, i * colW + (colW - metrics.horizontalAdvance(name)) / 2,
                   titleH + (dayNameH - metrics.height()) / 2, name);
    }
}

void TCalendarX::PaintCell(QPainter& painter, const QFont& dayFont, int Col, int Row)
{
    const int colW = GetColWidth();
    const int rowH = GetRowHeight();
    const QRect cell(Col * colW, GetHeaderHeight() + Row * rowH, colW, rowH);
    const TDateTime d = FCellDates[Col + Row * 7];
    const bool selected = d == FSelectedDate;
    const bool weekend = Col == 0 || Col == 6; // the grid's columns run Sunday to Saturday
    int year = 0, month = 0, day = 0;
    decodeDate(d, year, month, day);
    QColor textColour = month == monthOf(FSelectedMonth) ? Black : Grey;

    QColor colour = White;
    TFontStyles fontStyles;
    if (OnBeforePaintDayBG)
        OnBeforePaintDayBG(this, d, colour, fontStyles);

    if (selected && FHighlightSelectedDate) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(White, 1));
        painter.setBrush(FHighlightBGColour);
        painter.drawRoundedRect(QRectF(cell).adjusted(0.5, 0.5, -0.5, -0.5), colW / 6.0, rowH / 6.0);
        painter.restore();
        textColour = FHighlightFGColour;
    } else {
        painter.fillRect(cell, weekend ? FWeekendBGColour : colour);
    }

    const int textHeight = std::min(colW, rowH) * 3 / 4;
    if (textHeight > 0) {
        QFont font = dayFont;
        applyFontStyles(font, fontStyles);
        painter.setFont(font);
        painter.setPen(textColour);
        const QFontMetrics metrics = painter.fontMetrics();
        const QString text = QString::number(day);
        drawTextAt(painter, cell.left() + (colW - metrics.horizontalAdvance(text)) / 2,
                   cell.top() + (rowH - metrics.height()) / 2, text);
    }

    if (FHighlightTodaysDate && dateOf(d) == Date()) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Red, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRectF(cell).adjusted(1, 1, -1, -1));
        painter.restore();
    }
}

// The owner's handlers run inside the mouse handling; their failures are reported
// here, since they must not unwind through Qt's event delivery.
void TCalendarX::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    reportingErrors([&] { MouseDown(event->button(), false, pos.x(), pos.y()); });
}

// The second press of a double click.
void TCalendarX::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    reportingErrors([&] { MouseDown(event->button(), true, pos.x(), pos.y()); });
}

void TCalendarX::MouseDown(Qt::MouseButton, bool DoubleClick, int X, int Y)
{
    // The title widths are those of the last paint, so before it no title click hits.
    if (Y < GetTitleHeight()) {
        if (X < FMonthTextWidth)
            FMonthMenu->popup(mapToGlobal(QPoint(X, Y)));
        else if (X > width() - FYearTextWidth)
            FYearMenu->popup(mapToGlobal(QPoint(X, Y)));
        return;
    }
    if (Y <= GetHeaderHeight())
        return;

    const int colW = GetColWidth();
    const int rowH = GetRowHeight();
    // A control too small for its grid has no cells to hit.
    if (colW > 0 && rowH > 0 && X >= 0) {
        const int col = X / colW;
        const int row = (Y - GetHeaderHeight()) / rowH;
        if (col < 7 && row < 6)
            SetSelectedDate(FCellDates[col + row * 7]);
    }
    if (DoubleClick && OnDblClickDate)
        OnDblClickDate(this);
}

// The chosen month is always shown; a day it lacks becomes its last day.
void TCalendarX::MonthMenuItemClick(int Month)
{
    SetSelectedMonth(incMonth(FSelectedMonth, Month - monthOf(FSelectedMonth)));
}

void TCalendarX::YearMenuPopup()
{
    int year = 0, month = 0, day = 0;
    decodeDate(FSelectedMonth, year, month, day);
    const QList<QAction*> items = FYearMenu->actions();
    const int first = year - static_cast<int>(items.size()) / 2;
    for (int i = 0; i < items.size(); ++i) {
        const int itemYear = first + i;
        items[i]->setText(QString::number(itemYear));
        // Near the ends of the calendar's range some neighbours cannot be shown.
        items[i]->setEnabled(itemYear >= 1 && itemYear <= 9999);
    }
}

void TCalendarX::YearMenuItemClick(const QString& Caption)
{
    int year = 0, month = 0, day = 0;
    decodeDate(FSelectedMonth, year, month, day);
    SetSelectedMonth(incYear(FSelectedMonth, Caption.toInt() - year));
}
