#include "RepeatedEventEditor.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>
#include <optional>

#include "DatePicker.h"
#include "MonthDaysGrid.h"
#include "RepeatedDatesModel.h"
#include "controls/FontStyles.h"
#include "controls/TimePicker.h"
#include "platform/GetText.h"
#include "platform/gui/ErrorReport.h"

namespace {

constexpr int GridRows = 5;
constexpr int GridColumns = 7;
constexpr int LastChoice = 32; // the grid's cell number of "Last"
constexpr int LineHeight = 12; // pixels of a line of the date list

// Value plus a number of calendar months, or the last supported day (at the
// value's time of day) when that would pass the year 9999.
TDateTime addMonthsUpToLastYear(TDateTime Value, int Months)
{
    int year = 0, month = 0, day = 0;
    decodeDate(Value, year, month, day);
    if (year + (month - 1 + Months) / 12 > 9999) {
        int hour = 0, minute = 0, second = 0, msec = 0;
        decodeTime(Value, hour, minute, second, msec);
        return encodeDateTime(9999, 12, 31, hour, minute, second, msec);
    }
    return incMonth(Value, Months);
}

// Lines of one height, however tall the style would make them.
class LineHeightDelegate : public QStyledItemDelegate {
public:
    LineHeightDelegate(int height, QObject* parent) : QStyledItemDelegate(parent), height(height) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), height};
    }

private:
    const int height;
};

// The widest line of the date list in these metrics: a date of each month on each
// day of the week, at a time of day with two-digit hours.
int widestDateLine(const QFontMetrics& metrics)
{
    int widest = 0;
    for (int month = 1; month <= 12; ++month)
        for (int day = 22; day <= 28; ++day)
            widest = std::max(widest,
                              metrics.horizontalAdvance(repeatedDateText(encodeDateTime(2026, month, day, 22, 58, 0, 0))));
    return widest;
}

QLabel* makeLabel(QWidget* parent, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QCheckBox* makeCheckBox(QWidget* parent, const char* name, const QString& text)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QSpinBox* makeSpinBox(QWidget* parent, const char* name, int minimum, int maximum, int value)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(minimum, maximum);
    box->setValue(value);
    // A text that is no number gives the minimum (0 for the box without limits).
    box->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    box->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed); // as wide as its longest value
    return box;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false); // Enter in a spin box must not press a button
    return button;
}

QWidget* makePage(const char* name)
{
    auto* page = new QWidget;
    page->setObjectName(QLatin1String(name));
    return page;
}

// A row of widgets (nullptr for stretch) as a layout.
QHBoxLayout* row(std::initializer_list<QWidget*> widgets)
{
    auto* layout = new QHBoxLayout;
    layout->setSpacing(6);
    for (QWidget* widget : widgets)
        layout->addWidget(widget);
    layout->addStretch();
    return layout;
}

// Seven week-day boxes in two columns, Monday to Thursday, then Friday to Sunday.
void placeWeekDays(QGridLayout* grid, int firstRow, const std::array<QCheckBox*, 7>& boxes)
{
    for (int i = 0; i < 7; ++i)
        grid->addWidget(boxes[static_cast<size_t>(i)], firstRow + i % 4, i / 4);
}

WeekDayChoices choicesOf(const std::array<QCheckBox*, 7>& boxes)
{
    WeekDayChoices choices{};
    for (size_t i = 0; i < boxes.size(); ++i)
        choices[i] = boxes[i]->isChecked();
    return choices;
}

// The box's value after its text was read, forced into its limits.
std::uint16_t stepOf(QSpinBox* box)
{
    box->interpretText();
    return static_cast<std::uint16_t>(std::clamp(box->value(), 0, 9999));
}

} // namespace

TfrmRepeatedEventEditor::TfrmRepeatedEventEditor(QWidget* parent) : QDialog(parent)
{
    FormCreate();
}

TfrmRepeatedEventEditor::~TfrmRepeatedEventEditor() = default;

void TfrmRepeatedEventEditor::FormCreate()
{
    setObjectName(QStringLiteral("frmRepeatedEventEditor"));
    buildWidgets(); // the texts are translated as the widgets are made
    FDates = std::make_unique<TDateTimeList>();
    RefreshDateList();
}

void TfrmRepeatedEventEditor::showEvent(QShowEvent* event)
{
    fitDatesFont(); // the list's width is known now
    QDialog::showEvent(event);
}

void TfrmRepeatedEventEditor::fitDatesFont()
{
    const QStyle* style = lstRepeatedDates->style();
    const int textMargins = 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, lstRepeatedDates) + 1);
    const int room = lstRepeatedDates->contentsRect().width() -
                     style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, lstRepeatedDates) - textMargins;
    // The largest size whose lines fit their height and, where one does, the list's width.
    std::optional<QFont> tallest;
    for (int pixels = LineHeight; pixels >= 8; --pixels) {
        const QFont font = consoleFont(pixels);
        const QFontMetrics metrics(font);
        if (metrics.height() > LineHeight)
            continue;
        if (!tallest)
            tallest = font;
        if (widestDateLine(metrics) <= room) {
            lstRepeatedDates->setFont(font);
            return;
        }
    }
    lstRepeatedDates->setFont(tallest.value_or(consoleFont(8)));
}

template <typename Handler> void TfrmRepeatedEventEditor::runHandler(Handler&& handler)
{
    // Qt's event loop must not see exceptions: the user gets the message instead.
    reportingErrors(handler);
}

void TfrmRepeatedEventEditor::buildWidgets()
{
    setWindowTitle(_("Repeated Event"));
    setFont(arialFont(13));
    setFixedSize(700, 478);

    auto* windowLayout = new QHBoxLayout(this);
    windowLayout->setContentsMargins(6, 6, 6, 6);
    windowLayout->setSpacing(6);

    // Left: the range, the rule pages and the two buttons that add their dates.
    TntGroupBox1 = new QGroupBox(_("Build repeated dates:"), this);
    TntGroupBox1->setObjectName(QStringLiteral("TntGroupBox1"));
    TntGroupBox1->setFixedWidth(397);
    windowLayout->addWidget(TntGroupBox1);
    auto* buildLayout = new QVBoxLayout(TntGroupBox1);
    buildLayout->setSpacing(6);

    auto* rangeGrid = new QGridLayout;
    dtpStartDate = new DatePicker(TntGroupBox1);
    dtpStartDate->setObjectName(QStringLiteral("dtpStartDate"));
    dtpEndDate = new DatePicker(TntGroupBox1);
    dtpEndDate->setObjectName(QStringLiteral("dtpEndDate"));
    for (DatePicker* picker : {dtpStartDate, dtpEndDate})
        picker->setDisplayFormat(QLocale::system().dateFormat(QLocale::LongFormat));
    dtpEndDate->OnChange = [this](QObject*) { runHandler([this] { dtpEndDateChange(); }); };
    rangeGrid->addWidget(makeLabel(TntGroupBox1, _("Start Date:")), 0, 0);
    rangeGrid->addWidget(dtpStartDate, 0, 1);
    rangeGrid->addWidget(makeLabel(TntGroupBox1, _("End Date:")), 1, 0);
    rangeGrid->addWidget(dtpEndDate, 1, 1);
    rangeGrid->setColumnStretch(1, 1);
    buildLayout->addLayout(rangeGrid);

    pcBRD = new QTabWidget(TntGroupBox1);
    pcBRD->setObjectName(QStringLiteral("pcBRD"));
    pcBRD->addTab(tsHourly = buildHourlyPage(), _("Hourly"));
    pcBRD->addTab(tsDaily = buildDailyPage(), _("Daily"));
    pcBRD->addTab(tsWeekly = buildWeeklyPage(), _("Weekly"));
    pcBRD->addTab(tsMonthly = buildMonthlyPage(), _("Monthly"));
    pcBRD->addTab(tsYearly = buildYearlyPage(), _("Yearly"));
    connect(pcBRD, &QTabWidget::currentChanged, this, [this] { runHandler([this] { pcBRDChange(); }); });
    buildLayout->addWidget(pcBRD, 1);
    // Longer names of the rules in some languages widen the dialog rather than hide a tab.
    const QMargins margins = buildLayout->contentsMargins();
    const int missing = pcBRD->tabBar()->sizeHint().width() + margins.left() + margins.right() + 8 - 397;
    if (missing > 0) {
        TntGroupBox1->setFixedWidth(397 + missing);
        setFixedSize(700 + missing, 478);
    }

    btnAddDates = makeButton(TntGroupBox1, "btnAddDates", _("Add >>"));
    btnReplaceDates = makeButton(TntGroupBox1, "btnReplaceDates", _("Replace >>"));
    for (QPushButton* button : {btnAddDates, btnReplaceDates})
        connect(button, &QPushButton::clicked, this,
                [this, button] { runHandler([this, button] { btnAddDatesClick(button); }); });
    auto* addRow = new QHBoxLayout;
    addRow->addStretch();
    addRow->addWidget(btnReplaceDates);
    addRow->addWidget(btnAddDates);
    buildLayout->addLayout(addRow);

    // Right: the list with its count, Delete, and the dialog's own buttons.
    TntGroupBox2 = new QGroupBox(_("Event repeats on:"), this);
    TntGroupBox2->setObjectName(QStringLiteral("TntGroupBox2"));
    windowLayout->addWidget(TntGroupBox2, 1);
    auto* listLayout = new QVBoxLayout(TntGroupBox2);
    listLayout->setSpacing(6);

    lstRepeatedDates = new QListView(TntGroupBox2);
    lstRepeatedDates->setObjectName(QStringLiteral("lstRepeatedDates"));
    lstRepeatedDates->setItemDelegate(new LineHeightDelegate(LineHeight, lstRepeatedDates));
    lstRepeatedDates->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstRepeatedDates->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstRepeatedDates->setUniformItemSizes(true); // tens of thousands of lines stay quick
    datesModel = new RepeatedDatesModel(lstRepeatedDates);
    lstRepeatedDates->setModel(datesModel);
    listLayout->addWidget(lstRepeatedDates, 1);

    lblRepeatedDateCount = makeLabel(TntGroupBox2, QStringLiteral("Repeated"));
    lblRepeatedDateCount->setObjectName(QStringLiteral("lblRepeatedDateCount"));
    btnDeleteSelectedDates = makeButton(TntGroupBox2, "btnDeleteSelectedDates", _("Delete"));
    connect(btnDeleteSelectedDates, &QPushButton::clicked, this,
            [this] { runHandler([this] { btnDeleteSelectedDatesClick(); }); });
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(lblRepeatedDateCount, 1);
    countRow->addWidget(btnDeleteSelectedDates);
    listLayout->addLayout(countRow);

    btnDone = makeButton(TntGroupBox2, "btnDone", _("Done"));
    btnCancel = makeButton(TntGroupBox2, "btnCancel", _("Cancel"));
    connect(btnDone, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject); // Esc rejects as well
    auto* closeRow = new QHBoxLayout;
    closeRow->addStretch();
    closeRow->addWidget(btnDone);
    closeRow->addWidget(btnCancel);
    listLayout->addLayout(closeRow);
}

QWidget* TfrmRepeatedEventEditor::buildHourlyPage()
{
    QWidget* page = makePage("tsHourly");
    auto* layout = new QGridLayout(page);
    layout->addWidget(makeLabel(page, _("On these days:")), 0, 0, 1, 2);
    chkHourlyOnMon = makeCheckBox(page, "chkHourlyOnMon", _("Monday"));
    chkHourlyOnTue = makeCheckBox(page, "chkHourlyOnTue", _("Tuesday"));
    chkHourlyOnWed = makeCheckBox(page, "chkHourlyOnWed", _("Wednesday"));
    chkHourlyOnThu = makeCheckBox(page, "chkHourlyOnThu", _("Thursday"));
    chkHourlyOnFri = makeCheckBox(page, "chkHourlyOnFri", _("Friday"));
    chkHourlyOnSat = makeCheckBox(page, "chkHourlyOnSat", _("Saturday"));
    chkHourlyOnSun = makeCheckBox(page, "chkHourlyOnSun", _("Sunday"));
    placeWeekDays(layout, 1,
                  {chkHourlyOnMon, chkHourlyOnTue, chkHourlyOnWed, chkHourlyOnThu, chkHourlyOnFri, chkHourlyOnSat,
                   chkHourlyOnSun});

    sedtEveryXHours = makeSpinBox(page, "sedtEveryXHours", 0, 9999, 1);
    sedtEveryXMinutes = makeSpinBox(page, "sedtEveryXMinutes", 0, 9999, 0);
    tpHourlyTimeFrom = new TTimePicker(page);
    tpHourlyTimeFrom->setObjectName(QStringLiteral("tpHourlyTimeFrom"));
    tpHourlyTimeFrom->SetTimeFormat(tfSystem);
    tpHourlyTimeTo = new TTimePicker(page);
    tpHourlyTimeTo->setObjectName(QStringLiteral("tpHourlyTimeTo"));
    tpHourlyTimeTo->SetTimeFormat(tfSystem);
    for (TTimePicker* picker : {tpHourlyTimeFrom, tpHourlyTimeTo})
        picker->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    layout->addLayout(row({makeLabel(page, _("...repeat every:")), sedtEveryXHours, makeLabel(page, _("hours..."))}),
                      5, 0, 1, 2);
    layout->addLayout(row({makeLabel(page, _("...and")), sedtEveryXMinutes, makeLabel(page, _("minutes..."))}), 6,
                      0, 1, 2);
    layout->addWidget(makeLabel(page, _("...between the hours of:")), 7, 0, 1, 2);
    layout->addLayout(row({tpHourlyTimeFrom, makeLabel(page, _("and")), tpHourlyTimeTo}), 8, 0, 1, 2);
    layout->setRowStretch(9, 1);
    return page;
}

QWidget* TfrmRepeatedEventEditor::buildDailyPage()
{
    QWidget* page = makePage("tsDaily");
    auto* layout = new QVBoxLayout(page);
    sedtEveryXDays = makeSpinBox(page, "sedtEveryXDays", 1, 9999, 1);
    layout->addLayout(row({makeLabel(page, _("Every:")), sedtEveryXDays, makeLabel(page, _("days"))}));
    chkDailyIgnoreSat = makeCheckBox(page, "chkDailyIgnoreSat", _("Ignore Saturdays"));
    chkDailyIgnoreSun = makeCheckBox(page, "chkDailyIgnoreSun", _("Ignore Sundays"));
    layout->addWidget(chkDailyIgnoreSat);
    layout->addWidget(chkDailyIgnoreSun);
    layout->addStretch();
    return page;
}

QWidget* TfrmRepeatedEventEditor::buildWeeklyPage()
{
    QWidget* page = makePage("tsWeekly");
    auto* layout = new QGridLayout(page);

    pcWeekly = new QTabWidget(page);
    pcWeekly->setObjectName(QStringLiteral("pcWeekly"));

    tsWeeklyEvenyXWeeks = makePage("tsWeeklyEvenyXWeeks");
    sedtEveryXWeeks = makeSpinBox(tsWeeklyEvenyXWeeks, "sedtEveryXWeeks", 1, 9999, 1);
    auto* everyLayout = new QVBoxLayout(tsWeeklyEvenyXWeeks);
    everyLayout->addLayout(row({makeLabel(tsWeeklyEvenyXWeeks, _("Where X =")), sedtEveryXWeeks,
                                makeLabel(tsWeeklyEvenyXWeeks, _("weeks"))}));
    everyLayout->addStretch();

    tsWeeklyOnThe = makePage("tsWeeklyOnThe");
    auto* onTheLayout = new QGridLayout(tsWeeklyOnThe);
    chkWeekly1st = makeCheckBox(tsWeeklyOnThe, "chkWeekly1st", _("1st week"));
    chkWeekly2nd = makeCheckBox(tsWeeklyOnThe, "chkWeekly2nd", _("2nd week"));
    chkWeekly3rd = makeCheckBox(tsWeeklyOnThe, "chkWeekly3rd", _("3rd week"));
    chkWeekly4th = makeCheckBox(tsWeeklyOnThe, "chkWeekly4th", _("4th week"));
    chkWeekly5th = makeCheckBox(tsWeeklyOnThe, "chkWeekly5th", _("5th week"));
    chkWeeklyLast = makeCheckBox(tsWeeklyOnThe, "chkWeeklyLast", _("Last week"));
    const std::array<QCheckBox*, 6> weeks = {chkWeekly1st, chkWeekly2nd, chkWeekly3rd,
                                             chkWeekly4th, chkWeekly5th, chkWeeklyLast};
    for (int i = 0; i < 6; ++i)
        onTheLayout->addWidget(weeks[static_cast<size_t>(i)], i % 3, i / 3);
    sedtWeeklyEveryXMonths = makeSpinBox(tsWeeklyOnThe, "sedtWeeklyEveryXMonths", 1, 9999, 1);
    onTheLayout->addLayout(row({makeLabel(tsWeeklyOnThe, _("...of the month every")), sedtWeeklyEveryXMonths,
                                makeLabel(tsWeeklyOnThe, _("months..."))}),
                           3, 0, 1, 2);

    pcWeekly->addTab(tsWeeklyEvenyXWeeks, _("Every X Weeks"));
    pcWeekly->addTab(tsWeeklyOnThe, _("On the..."));
    pcWeekly->setCurrentWidget(tsWeeklyOnThe);
    layout->addWidget(pcWeekly, 0, 0, 1, 2);

    layout->addWidget(makeLabel(page, _("...on these days:")), 1, 0, 1, 2);
    chkWeeklyOnMon = makeCheckBox(page, "chkWeeklyOnMon", _("Monday"));
    chkWeeklyOnTue = makeCheckBox(page, "chkWeeklyOnTue", _("Tuesday"));
    chkWeeklyOnWed = makeCheckBox(page, "chkWeeklyOnWed", _("Wednesday"));
    chkWeeklyOnThu = makeCheckBox(page, "chkWeeklyOnThu", _("Thursday"));
    chkWeeklyOnFri = makeCheckBox(page, "chkWeeklyOnFri", _("Friday"));
    chkWeeklyOnSat = makeCheckBox(page, "chkWeeklyOnSat", _("Saturday"));
    chkWeeklyOnSun = makeCheckBox(page, "chkWeeklyOnSun", _("Sunday"));
    placeWeekDays(layout, 2,
                  {chkWeeklyOnMon, chkWeeklyOnTue, chkWeeklyOnWed, chkWeeklyOnThu, chkWeeklyOnFri, chkWeeklyOnSat,
                   chkWeeklyOnSun});
    layout->setRowStretch(6, 1);
    return page;
}

QWidget* TfrmRepeatedEventEditor::buildMonthlyPage()
{
    QWidget* page = makePage("tsMonthly");
    auto* layout = new QVBoxLayout(page);
    sedtEveryXMonths = makeSpinBox(page, "sedtEveryXMonths", 1, 9999, 1);
    layout->addLayout(row({makeLabel(page, _("Every:")), sedtEveryXMonths, makeLabel(page, _("months"))}));
    layout->addWidget(makeLabel(page, _("On day of month:")));

    VirtualStringTree1 = new MonthDaysGrid(GridRows, GridColumns, page);
    VirtualStringTree1->setObjectName(QStringLiteral("VirtualStringTree1"));
    // The cells widen by as much as the word for the last day is longer than in
    // English, and grow taller when the font needs it. The page is not in the window
    // yet, so the grid still has the desktop's font: measure the window's, which it gets.
    const QFontMetrics metrics(font());
    const int cellWidth =
        36 + std::max(0, metrics.horizontalAdvance(_("Last")) - metrics.horizontalAdvance(QStringLiteral("Last")));
    VirtualStringTree1->SetCellSize(cellWidth, std::max(20, metrics.height() + 4));
    VirtualStringTree1->OnGetText = [this](int Row, int Column) { return VirtualStringTree1GetText(Row, Column); };
    VirtualStringTree1->OnBeforeCellPaint = [this](QPainter& Canvas, int Row, int Column, const QRect& CellRect) {
        VirtualStringTree1BeforeCellPaint(Canvas, Row, Column, CellRect);
    };
    VirtualStringTree1->OnFocusChanging = [this](int Row, int Column, bool& Allowed) {
        VirtualStringTree1FocusChanging(Row, Column, Allowed);
    };
    layout->addWidget(VirtualStringTree1);

    chkMonthlyIgnoreSat = makeCheckBox(page, "chkMonthlyIgnoreSat", _("Ignore Saturdays"));
    chkMonthlyIgnoreSun = makeCheckBox(page, "chkMonthlyIgnoreSun", _("Ignore Sundays"));
    layout->addWidget(chkMonthlyIgnoreSat);
    layout->addWidget(chkMonthlyIgnoreSun);
    layout->addStretch();
    return page;
}

QWidget* TfrmRepeatedEventEditor::buildYearlyPage()
{
    QWidget* page = makePage("tsYearly");
    auto* layout = new QVBoxLayout(page);
    sedtEveryXYears = makeSpinBox(page, "sedtEveryXYears", 1, 9999, 1);
    layout->addLayout(row({makeLabel(page, _("Every:")), sedtEveryXYears, makeLabel(page, _("years"))}));
    chkYearlyUseDaysFromEaster = makeCheckBox(page, "chkYearlyUseDaysFromEaster", _("days from Easter:"));
    // No limits: a negative count lies before Easter.
    sedtYearlyDaysFromEaster = makeSpinBox(page, "sedtYearlyDaysFromEaster", std::numeric_limits<int>::min(),
                                           std::numeric_limits<int>::max(), 0);
    layout->addLayout(row({chkYearlyUseDaysFromEaster, sedtYearlyDaysFromEaster}));
    chkYearlyOrthodoxEaster = makeCheckBox(page, "chkYearlyOrthodoxEaster", _("Orthodox Easter"));
    layout->addWidget(chkYearlyOrthodoxEaster);
    layout->addStretch();
    return page;
}

bool TfrmRepeatedEventEditor::Execute(const TEvent& Event)
{
    {
        const QSignalBlocker byProgram(pcBRD); // not the user's choice of page
        pcBRD->setCurrentWidget(tsYearly);
    }
    const TDateTime start = Event.GetStartDate();
    dtpStartDate->SetDateTime(start);
    proposeEndDate(addMonthsUpToLastYear(dtpStartDate->DateTime(), 10 * 12));
    tpHourlyTimeFrom->SetTime(timeOf(start));
    tpHourlyTimeTo->SetTime(tpHourlyTimeFrom->Time() + 8.0 / 24.0); // only its time of day counts

    replaceDates();
    FDates->AddDate(start, false, 0);
    Event.RepeatedDates->CopyTo(*FDates, false);
    RefreshDateList();
    FEndDateChanged = false;
    return exec() == QDialog::Accepted;
}

void TfrmRepeatedEventEditor::RefreshDateList()
{
    datesModel->setDates(FDates.get());
    lblRepeatedDateCount->setText(_("Repeated %d time(s)").replace(QStringLiteral("%d"),
                                                                    QString::number(FDates->GetCount())));
}

void TfrmRepeatedEventEditor::replaceDates()
{
    datesModel->setDates(nullptr); // the model must not show the list while it goes
    FDates = std::make_unique<TDateTimeList>();
}

void TfrmRepeatedEventEditor::btnAddDatesClick(QObject* Sender)
{
    if (Sender == btnReplaceDates)
        replaceDates();
    runShownRule();
    FDates->Sort(); // so entry 0, the start date, is always the earliest
    RefreshDateList();
}

void TfrmRepeatedEventEditor::runShownRule()
{
    const TDateTime start = dtpStartDate->DateTime();
    const TDateTime end = dtpEndDate->DateTime();
    QWidget* page = pcBRD->currentWidget();
    if (page == tsHourly) {
        BuildHourlyDates(start, end,
                         choicesOf({chkHourlyOnMon, chkHourlyOnTue, chkHourlyOnWed, chkHourlyOnThu, chkHourlyOnFri,
                                    chkHourlyOnSat, chkHourlyOnSun}),
                         stepOf(sedtEveryXHours), stepOf(sedtEveryXMinutes), tpHourlyTimeFrom->Time(),
                         tpHourlyTimeTo->Time(), *FDates);
    } else if (page == tsDaily) {
        BuildDailyDates(start, end, stepOf(sedtEveryXDays), chkDailyIgnoreSat->isChecked(),
                        chkDailyIgnoreSun->isChecked(), *FDates);
    } else if (page == tsWeekly) {
        const WeekDayChoices days = choicesOf({chkWeeklyOnMon, chkWeeklyOnTue, chkWeeklyOnWed, chkWeeklyOnThu,
                                               chkWeeklyOnFri, chkWeeklyOnSat, chkWeeklyOnSun});
        if (pcWeekly->currentWidget() == tsWeeklyEvenyXWeeks) {
            BuildWeeklyDates(start, end, stepOf(sedtEveryXWeeks), days, *FDates);
        } else {
            const MonthWeekChoices weeks = {chkWeekly1st->isChecked(), chkWeekly2nd->isChecked(),
                                            chkWeekly3rd->isChecked(), chkWeekly4th->isChecked(),
                                            chkWeekly5th->isChecked(), chkWeeklyLast->isChecked()};
            BuildWeeklyOnTheDates(start, end, weeks, stepOf(sedtWeeklyEveryXMonths), days, *FDates);
        }
    } else if (page == tsMonthly) {
        BuildMonthlyDates(start, end, stepOf(sedtEveryXMonths), FMonthDays, chkMonthlyIgnoreSat->isChecked(),
                          chkMonthlyIgnoreSun->isChecked(), *FDates);
    } else if (page == tsYearly) {
        sedtYearlyDaysFromEaster->interpretText();
        BuildYearlyDates(start, end, stepOf(sedtEveryXYears), chkYearlyUseDaysFromEaster->isChecked(),
                         sedtYearlyDaysFromEaster->value(), chkYearlyOrthodoxEaster->isChecked(), *FDates);
    }
}

void TfrmRepeatedEventEditor::btnDeleteSelectedDatesClick()
{
    QModelIndexList selected = lstRepeatedDates->selectionModel()->selectedRows();
    // From the last line up, so the lines still to go keep their numbers.
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() > b.row(); });
    datesModel->setDates(nullptr);
    for (const QModelIndex& line : selected)
        FDates->Delete(line.row());
    RefreshDateList();
}

void TfrmRepeatedEventEditor::dtpEndDateChange()
{
    FEndDateChanged = true;
}

void TfrmRepeatedEventEditor::pcBRDChange()
{
    if (FEndDateChanged)
        return;
    QWidget* page = pcBRD->currentWidget();
    const int months = page == tsHourly ? 1 : page == tsMonthly ? 24 : page == tsYearly ? 120 : 12;
    proposeEndDate(addMonthsUpToLastYear(dtpStartDate->DateTime(), months));
}

void TfrmRepeatedEventEditor::proposeEndDate(TDateTime Value)
{
    dtpEndDate->SetDateTime(Value); // set by the program: no change of the user's
}

QString TfrmRepeatedEventEditor::VirtualStringTree1GetText(int Row, int Column) const
{
    if (Row < 0 || Row >= GridRows || Column < 0 || Column >= GridColumns)
        return {};
    const int n = GridColumns * Row + Column + 1;
    if (n <= 31)
        return QString::number(n);
    return n == LastChoice ? _("Last") : QString();
}

void TfrmRepeatedEventEditor::VirtualStringTree1BeforeCellPaint(QPainter& TargetCanvas, int Row, int Column,
                                                                 const QRect& CellRect) const
{
    const int n = GridColumns * Row + Column + 1;
    if (n >= 1 && n <= LastChoice && FMonthDays[static_cast<size_t>(n - 1)])
        TargetCanvas.fillRect(CellRect, QColor(255, 255, 0));
}

void TfrmRepeatedEventEditor::VirtualStringTree1FocusChanging(int NewRow, int NewColumn, bool& Allowed)
{
    // The focus never moves, so every click on a cell, even the same one again, toggles it.
    Allowed = false;
    if (NewRow < 0 || NewColumn < 0)
        return;
    const int n = GridColumns * NewRow + NewColumn + 1;
    if (n >= 1 && n <= LastChoice)
        FMonthDays[static_cast<size_t>(n - 1)] = !FMonthDays[static_cast<size_t>(n - 1)];
    VirtualStringTree1->repaintRow(NewRow);
}

void TfrmRepeatedEventEditor::BuildHourlyDates(TDateTime StartDate, TDateTime EndDate, const WeekDayChoices& Days,
                                               std::uint16_t H, std::uint16_t M, TDateTime FromTime,
                                               TDateTime ToTime, TDateTimeList& List) const
{
    addHourlyDates(StartDate, EndDate, Days, H, M, FromTime, ToTime, List);
}

void TfrmRepeatedEventEditor::BuildDailyDates(TDateTime StartDate, TDateTime EndDate, std::uint16_t N,
                                              bool IgnoreSaturdays, bool IgnoreSundays, TDateTimeList& List) const
{
    addDailyDates(StartDate, EndDate, N, IgnoreSaturdays, IgnoreSundays, List);
}

void TfrmRepeatedEventEditor::BuildWeeklyDates(TDateTime StartDate, TDateTime EndDate, std::uint16_t X,
                                               const WeekDayChoices& Days, TDateTimeList& List) const
{
    addWeeklyDates(StartDate, EndDate, X, Days, List);
}

void TfrmRepeatedEventEditor::BuildWeeklyOnTheDates(TDateTime StartDate, TDateTime EndDate,
                                                    const MonthWeekChoices& Weeks, std::uint16_t X,
                                                    const WeekDayChoices& Days, TDateTimeList& List) const
{
    addWeeklyOnTheDates(StartDate, EndDate, Weeks, X, Days, List);
}

void TfrmRepeatedEventEditor::BuildMonthlyDates(TDateTime StartDate, TDateTime EndDate, std::uint16_t X,
                                                const MonthDayChoices& MonthDays, bool IgnoreSaturdays,
                                                bool IgnoreSundays, TDateTimeList& List) const
{
    addMonthlyDates(StartDate, EndDate, X, MonthDays, IgnoreSaturdays, IgnoreSundays, List);
}

void TfrmRepeatedEventEditor::BuildYearlyDates(TDateTime StartDate, TDateTime EndDate, std::uint16_t X,
                                               bool UseDaysFromEaster, std::int32_t N, bool Orthodox,
                                               TDateTimeList& List) const
{
    addYearlyDates(StartDate, EndDate, X, UseDaysFromEaster, N, Orthodox, List);
}
