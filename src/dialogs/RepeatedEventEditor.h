#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <memory>

#include "events/DateRules.h"
#include "events/Event.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QListView;
class QPainter;
class QPushButton;
class QSpinBox;
class QTabWidget;
class DatePicker;
class MonthDaysGrid;
class RepeatedDatesModel;
class TTimePicker;

// The dialog in which the user builds the whole list of an event's occurrences:
// its start date followed by its repeated dates. On the left a rule (hourly,
// daily, weekly, monthly, yearly) between a start and an end date adds its dates
// to the list on the right, where entries can be deleted. The caller reads FDates
// after Execute returned true: entry 0 is the new start date, the rest the
// repeated dates.
class TfrmRepeatedEventEditor : public QDialog {
    Q_OBJECT

public:
    explicit TfrmRepeatedEventEditor(QWidget* parent = nullptr);
    ~TfrmRepeatedEventEditor() override;

    // Fills the dialog from Event (only read), shows it modally and returns
    // whether the user closed it with "Done".
    bool Execute(const TEvent& Event);
    // Shows FDates in the list and its count in the label.
    void RefreshDateList();

    // Handlers of the window's controls.
    void btnAddDatesClick(QObject* Sender);
    void btnDeleteSelectedDatesClick();
    void dtpEndDateChange();
    void pcBRDChange();
    QString VirtualStringTree1GetText(int Row, int Column) const;
    void VirtualStringTree1BeforeCellPaint(QPainter& TargetCanvas, int Row, int Column, const QRect& CellRect) const;
    void VirtualStringTree1FocusChanging(int NewRow, int NewColumn, bool& Allowed);

    // The rules of the five pages; each appends to List.
    void BuildHourlyDates(TDateTime StartDate, TDateTime EndDate, const WeekDayChoices& Days, std::uint16_t H,
                          std::uint16_t M, TDateTime FromTime, TDateTime ToTime, TDateTimeList& List) const;
    void BuildDailyDates(TDateTime StartDate, TDateTime EndDate, std::uint16_t N, bool IgnoreSaturdays,
                         bool IgnoreSundays, TDateTimeList& List) const;
    void BuildWeeklyDates(TDateTime StartDate, TDateTime EndDate, std::uint16_t X, const WeekDayChoices& Days,
                          TDateTimeList& List) const;
    void BuildWeeklyOnTheDates(TDateTime StartDate, TDateTime EndDate, const MonthWeekChoices& Weeks,
                               std::uint16_t X, const WeekDayChoices& Days, TDateTimeList& List) const;
    void BuildMonthlyDates(TDateTime StartDate, TDateTime EndDate, std::uint16_t X, const MonthDayChoices& MonthDays,
                           bool IgnoreSaturdays, bool IgnoreSundays, TDateTimeList& List) const;
    void BuildYearlyDates(TDateTime StartDate, TDateTime EndDate, std::uint16_t X, bool UseDaysFromEaster,
                          std::int32_t N, bool Orthodox, TDateTimeList& List) const;

    // Day choices of the month-days grid: days 1..31, then "Last".
    MonthDayChoices FMonthDays{};
    // The list being edited, owned; replaced by Execute and by "Replace >>".
    std::unique_ptr<TDateTimeList> FDates;
    // Set once the user has changed the end date: page changes then leave it alone.
    bool FEndDateChanged = false;

    QGroupBox* TntGroupBox1 = nullptr;
    DatePicker* dtpStartDate = nullptr;
    DatePicker* dtpEndDate = nullptr;
    QTabWidget* pcBRD = nullptr;
    QWidget* tsHourly = nullptr;
    QWidget* tsDaily = nullptr;
    QWidget* tsWeekly = nullptr;
    QWidget* tsMonthly = nullptr;
    QWidget* tsYearly = nullptr;

    QCheckBox* chkHourlyOnMon = nullptr;
    QCheckBox* chkHourlyOnTue = nullptr;
    QCheckBox* chkHourlyOnWed = nullptr;
    QCheckBox* chkHourlyOnThu = nullptr;
    QCheckBox* chkHourlyOnFri = nullptr;
    QCheckBox* chkHourlyOnSat = nullptr;
    QCheckBox* chkHourlyOnSun = nullptr;
    QSpinBox* sedtEveryXHours = nullptr;
    QSpinBox* sedtEveryXMinutes = nullptr;
    TTimePicker* tpHourlyTimeFrom = nullptr;
    TTimePicker* tpHourlyTimeTo = nullptr;

    QSpinBox* sedtEveryXDays = nullptr;
    QCheckBox* chkDailyIgnoreSat = nullptr;
    QCheckBox* chkDailyIgnoreSun = nullptr;

    QTabWidget* pcWeekly = nullptr;
    QWidget* tsWeeklyEvenyXWeeks = nullptr;
    QWidget* tsWeeklyOnThe = nullptr;
    QSpinBox* sedtEveryXWeeks = nullptr;
    QCheckBox* chkWeekly1st = nullptr;
    QCheckBox* chkWeekly2nd = nullptr;
    QCheckBox* chkWeekly3rd = nullptr;
    QCheckBox* chkWeekly4th = nullptr;
    QCheckBox* chkWeekly5th = nullptr;
    QCheckBox* chkWeeklyLast = nullptr;
    QSpinBox* sedtWeeklyEveryXMonths = nullptr;
    QCheckBox* chkWeeklyOnMon = nullptr;
    QCheckBox* chkWeeklyOnTue = nullptr;
    QCheckBox* chkWeeklyOnWed = nullptr;
    QCheckBox* chkWeeklyOnThu = nullptr;
    QCheckBox* chkWeeklyOnFri = nullptr;
    QCheckBox* chkWeeklyOnSat = nullptr;
    QCheckBox* chkWeeklyOnSun = nullptr;

    QSpinBox* sedtEveryXMonths = nullptr;
    MonthDaysGrid* VirtualStringTree1 = nullptr;
    QCheckBox* chkMonthlyIgnoreSat = nullptr;
    QCheckBox* chkMonthlyIgnoreSun = nullptr;

    QSpinBox* sedtEveryXYears = nullptr;
    QCheckBox* chkYearlyUseDaysFromEaster = nullptr;
    QSpinBox* sedtYearlyDaysFromEaster = nullptr;
    QCheckBox* chkYearlyOrthodoxEaster = nullptr;

    QPushButton* btnAddDates = nullptr;
    QPushButton* btnReplaceDates = nullptr;
    QGroupBox* TntGroupBox2 = nullptr;
    QListView* lstRepeatedDates = nullptr;
    QPushButton* btnDeleteSelectedDates = nullptr;
    QLabel* lblRepeatedDateCount = nullptr;
    QPushButton* btnDone = nullptr;
    QPushButton* btnCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    // Gives the date list the largest console font whose lines fit the list.
    void fitDatesFont();
    void buildWidgets();
    QWidget* buildHourlyPage();
    QWidget* buildDailyPage();
    QWidget* buildWeeklyPage();
    QWidget* buildMonthlyPage();
    QWidget* buildYearlyPage();
    void replaceDates();
    // Runs the generator of the page on show, appending to FDates.
    void runShownRule();
    // Sets the end date without counting it as the user's change.
    void proposeEndDate(TDateTime Value);
    // Runs a handler that the user triggered, reporting what it raises.
    template <typename Handler> void runHandler(Handler&& handler);

    RepeatedDatesModel* datesModel = nullptr;
};
