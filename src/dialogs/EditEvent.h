#pragma once

#include <QDialog>
#include <QStringList>

#include <memory>

#include "events/Event.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QSpinBox;
class QTabWidget;
class QToolButton;
class DatePicker;
class TTimePicker;

// The window in which one event is created or changed. It works on a private copy,
// FEvent: the caller takes that copy over only when Execute returned true.
class TfrmEditEvent : public QDialog {
    Q_OBJECT

public:
    explicit TfrmEditEvent(QWidget* parent = nullptr);
    ~TfrmEditEvent() override;

    // Copies Event (only read; nullptr gives a blank event), shows the dialog modally
    // and returns true when the user pressed "Done". Categories fill the category list.
    bool Execute(const TEvent* Event, const QStringList& Categories);

    // The working copy; valid after Execute until the dialog is destroyed.
    std::unique_ptr<TEvent> FEvent;

    // Takes the repeated-dates editor's result: its first date becomes the start
    // date and the rest the repeated dates; an empty list keeps the start date and
    // leaves no repeated dates. Dates is emptied of its first entry.
    void useRepeatedDates(TDateTimeList& Dates);

    QTabWidget* pcEventDetails;
    QWidget* tsGeneral;
    QWidget* tsReminder;
    QLabel* lblAlarmTime;
    QPushButton* btnDone;
    QPushButton* btnCancel;

    // The "General" page.
    DatePicker* dtpStartDate;
    QCheckBox* chkShowOnCalendar;
    QCheckBox* chkUseTime;
    TTimePicker* tpStartTime;
    QComboBox* cboCategory;
    QSlider* tbImportance;
    QLabel* lblSelectedImportance;
    QLineEdit* edtEvent;
    QPushButton* btnRepeated;
    QPlainTextEdit* memEventNote;
    QCheckBox* chkEnabled;

    // The "Reminder" page.
    QCheckBox* chkAlarmNotify;
    QSpinBox* sedtAlarmMinB4;
    QComboBox* cboAlarmType;
    QCheckBox* chkPopUpNotify;
    QCheckBox* chkAudioNotify;
    QComboBox* cboAlarmSounds;
    QToolButton* sbtnPlaySelectedSound;
    QCheckBox* chkExecute;
    QGroupBox* grpExecOptions;
    QPlainTextEdit* memCmdsToExecute;
    QPushButton* btnBrowseForFile;

    // Handlers.
    void FormCreate();
    void dtpStartDateChange();
    void chkUseTimeClick();
    void tpStartTimeTimeChanged();
    void tbImportanceChange();
    void btnRepeatedClick();
    void chkAlarmNotifyClick();
    void sedtAlarmMinB4Change();
    void cboAlarmTypeChange();
    void sbtnPlaySelectedSoundClick();
    void btnBrowseForFileClick();

private:
    void buildGeneralPage();
    void buildReminderPage();
    void connectHandlers();
    void LoadEventToControls();
    void SaveControlsToEvent();
    TDateTime GetAlarmTime() const;
    void UpdateAlarmTimeLabel();
    void EnableReminderControls();
    void LoadAlarmSounds();
    // The spin box's whole number; any other text counts as 0.
    int alarmParam() const;
};
