// The edit-event dialog: what it shows, what Done stores, that Cancel stores nothing.
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>

#include "LayoutCheck.h"
#include "PlatformFakes.h"
#include "TestSupport.h"
#include "controls/TimePicker.h"
#include "dialogs/DatePicker.h"
#include "dialogs/EditEvent.h"
#include "platform/ProgramFolder.h"

using testing_support::at;

namespace {

const QStringList categories = {"General", "Work", "Home"};

void fillEvent(TEvent& event)
{
    event.SetStartDate(at(2026, 3, 10, 14, 35, 27));
    event.UseTime = true;
    event.Duration = 30;
    event.RepeatedDates->AddDate(at(2026, 3, 17, 14, 35), false, 0);
    event.RepeatedDates->AddDate(at(2026, 3, 24, 14, 35), false, 0);
    event.Category = "Work";
    event.Description = "Dentist & <co>";
    event.Notes = "Bring the card\r\nand the letter";
    event.AlarmType = 2;
    event.AlarmParam = -3;
    event.AudioNotify = true;
    event.AlarmSound = "Bell";
    event.KeepRemindingFor = 7;
    event.AfterReminderJob = arSnoozeMins;
    event.AfterReminderJobParamInt = 9;
    event.Importance = eiHigh;
    event.ExecuteFile = true;
    event.CmdsToExecute = "echo one\r\necho two";
    event.ExecuteFileXTimes = 5;
    event.ShowOnCalendar = true;
    event.PopUpNotify = true;
    event.Enabled = false;
}

std::vector<TDateTime> repeatsOf(const TEvent& event)
{
    std::vector<TDateTime> dates;
    for (int i = 0; i < event.RepeatedDates->GetCount(); ++i)
        dates.push_back(event.RepeatedDates->GetItem(i)->DateTime);
    return dates;
}

// Clicks the box itself: a click right of its text would miss it.
void tick(QCheckBox* box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

QStringList itemsOf(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

// A timed event reminded Minutes before its start.
TEvent remindedEvent(TDateTime start, int minutes)
{
    TEvent event;
    event.SetStartDate(start);
    event.UseTime = true;
    event.AlarmType = 1;
    event.AlarmParam = -minutes;
    return event;
}

class EditEvent : public ::testing::Test {
protected:
    EditEvent() { makeSounds({"Bell.wav", "default.wav"}); }
    ~EditEvent() override { removeSounds(); }

    void makeSounds(const QStringList& names)
    {
        removeSounds();
        for (const QString& name : names)
            testing_support::writeFile(programFolder() + name, "RIFF");
    }
    static void removeSounds()
    {
        QDir folder(programFolder());
        for (const QString& name : folder.entryList({"*.wav", ".*.wav"}, QDir::Files | QDir::Hidden))
            folder.remove(name);
    }

    // Runs Execute on Event: Act works on the open dialog, then Close ends it.
    bool execute(const TEvent& event, const std::function<void()>& act = {}, QPushButton* TfrmEditEvent::*close = &TfrmEditEvent::btnDone)
    {
        QTimer::singleShot(0, &dialog, [&] {
            if (act)
                act();
            QTest::mouseClick(dialog.*close, Qt::LeftButton);
        });
        return dialog.Execute(&event, categories);
    }
    QStringList enabledReminderControls() const
    {
        QStringList names;
        for (QWidget* control : std::initializer_list<QWidget*>{
                 dialog.sedtAlarmMinB4, dialog.cboAlarmType, dialog.chkPopUpNotify, dialog.chkAudioNotify,
                 dialog.cboAlarmSounds, dialog.sbtnPlaySelectedSound, dialog.chkExecute, dialog.grpExecOptions,
                 dialog.btnBrowseForFile, dialog.memCmdsToExecute})
            if (control->isEnabled())
                names << control->objectName();
        return names;
    }
    static QString reminderText(TDateTime t)
    {
        return "Reminder: " + formatDateTime("dddd, d mmmm yyyy (tt)", t);
    }

    testing_support::ClockOverride clock{at(2026, 3, 1, 9, 0)};
    RecordingSoundPlayer sounds;
    TfrmEditEvent dialog;
};

TEST_F(EditEvent, ShowsEveryFieldAndDoneStoresThemBack)
{
    TEvent event;
    fillEvent(event);
    const bool done = execute(event, [&] {
        EXPECT_EQ(dialog.focusWidget(), dialog.edtEvent);
        EXPECT_EQ(dialog.dtpStartDate->DateTime(), at(2026, 3, 10, 14, 35)) << "seconds cut";
        EXPECT_EQ(dialog.dtpStartDate->text(), QLocale().toString(QDate(2026, 3, 10), " ddd, d MMM yyyy"));
        EXPECT_EQ(dialog.tpStartTime->Time(), at(2026, 3, 10, 14, 35));
        EXPECT_EQ(itemsOf(dialog.cboCategory), categories);
        EXPECT_EQ(dialog.cboCategory->currentText(), "Work");
        EXPECT_EQ(dialog.edtEvent->text(), "Dentist & <co>");
        EXPECT_EQ(dialog.memEventNote->toPlainText(), "Bring the card\nand the letter");
        EXPECT_EQ(dialog.lblSelectedImportance->text(), "High");
        EXPECT_EQ(dialog.lblSelectedImportance->palette().color(QPalette::WindowText), QColor(0x80, 0x00, 0x00))
            << "the design's maroon on a light window";
        // Three hours before; the seconds go only when stored.
        EXPECT_TRUE(dialog.chkAlarmNotify->isChecked());
        EXPECT_EQ(dialog.sedtAlarmMinB4->value(), -3);
        EXPECT_EQ(dialog.cboAlarmType->currentText(), "hours");
        EXPECT_EQ(dialog.lblAlarmTime->text(), reminderText(at(2026, 3, 10, 11, 35, 27)));
        EXPECT_EQ(dialog.cboAlarmSounds->currentText(), "Bell");
        EXPECT_EQ(dialog.memCmdsToExecute->toPlainText(), "echo one\necho two");
        EXPECT_EQ(enabledReminderControls().size(), 10);
    });
    ASSERT_TRUE(done);

    const TEvent& stored = *dialog.FEvent;
    EXPECT_EQ(stored.GetStartDate(), at(2026, 3, 10, 14, 35));
    EXPECT_TRUE(stored.UseTime);
    EXPECT_EQ(stored.Duration, 30u);
    EXPECT_EQ(repeatsOf(stored), repeatsOf(event));
    EXPECT_TRUE(stored.AudioNotify);
    EXPECT_EQ(stored.KeepRemindingFor, 7);
    EXPECT_EQ(stored.AfterReminderJob, arSnoozeMins);
    EXPECT_EQ(stored.AfterReminderJobParamInt, 9);
    EXPECT_EQ(stored.ExecuteFileXTimes, 1) << "always 1 after Done";
    EXPECT_EQ(stored.StartDateItem->NotificationTime, at(2026, 3, 10, 11, 35));
    EXPECT_EQ(stored.RepeatedDates->GetItem(1)->NotificationTime, at(2026, 3, 24, 11, 35));
}

TEST_F(EditEvent, DoneStoresWhatTheUserChanged)
{
    TEvent event;
    fillEvent(event);
    const bool done = execute(event, [&] {
        dialog.edtEvent->clear();
        QTest::keyClicks(dialog.edtEvent, "Call Anna");
        dialog.memEventNote->selectAll();
        QTest::keyClicks(dialog.memEventNote, "first");
        QTest::keyClick(dialog.memEventNote, Qt::Key_Return);
        QTest::keyClicks(dialog.memEventNote, "second");
        dialog.cboCategory->lineEdit()->clear();
        QTest::keyClicks(dialog.cboCategory->lineEdit(), " Errands ");
        QTest::keyClick(dialog.tbImportance, Qt::Key_Right);
        EXPECT_EQ(dialog.lblSelectedImportance->text(), "Highest");
        EXPECT_EQ(dialog.FEvent->Importance, eiHighest) << "the track bar writes at once";
        tick(dialog.chkEnabled);
        tick(dialog.chkShowOnCalendar);

        // A new date keeps the time of day; the start moves onto its first repeated date.
        dialog.dtpStartDate->setDate(QDate(2026, 3, 17));
        EXPECT_EQ(dialog.dtpStartDate->DateTime(), at(2026, 3, 17, 14, 35));
        EXPECT_EQ(dialog.tpStartTime->Time(), at(2026, 3, 17, 14, 35));
        EXPECT_EQ(dialog.lblAlarmTime->text(), reminderText(at(2026, 3, 17, 11, 35)));

        dialog.pcEventDetails->setCurrentWidget(dialog.tsReminder);
        dialog.sedtAlarmMinB4->selectAll();
        QTest::keyClicks(dialog.sedtAlarmMinB4, "-2");
        dialog.cboAlarmType->setCurrentIndex(2);
        EXPECT_EQ(dialog.lblAlarmTime->text(), reminderText(at(2026, 3, 15, 14, 35)));
        dialog.cboAlarmSounds->setCurrentIndex(1);
        tick(dialog.chkPopUpNotify);
        tick(dialog.chkExecute);
        dialog.memCmdsToExecute->selectAll();
        QTest::keyClicks(dialog.memCmdsToExecute, "ls");
    });
    ASSERT_TRUE(done);

    const TEvent& stored = *dialog.FEvent;
    EXPECT_EQ(stored.Description, "Call Anna");
    EXPECT_EQ(stored.Notes, "first\r\nsecond");
    EXPECT_EQ(stored.Category, " Errands ") << "stored as typed";
    EXPECT_EQ(stored.Importance, eiHighest);
    EXPECT_TRUE(stored.Enabled);
    EXPECT_FALSE(stored.ShowOnCalendar);
    EXPECT_EQ(stored.GetStartDate(), at(2026, 3, 17, 14, 35));
    EXPECT_EQ(repeatsOf(stored), std::vector<TDateTime>{at(2026, 3, 24, 14, 35)}) << "the start is no repeat of itself";
    EXPECT_EQ(stored.AlarmType, 3);
    EXPECT_EQ(stored.AlarmParam, -2);
    EXPECT_EQ(stored.AlarmSound, "Default");
    EXPECT_FALSE(stored.PopUpNotify);
    EXPECT_FALSE(stored.ExecuteFile);
    EXPECT_EQ(stored.CmdsToExecute, "ls");
    EXPECT_EQ(stored.StartDateItem->NotificationTime, at(2026, 3, 15, 14, 35));
}

// An imported or pasted title keeps every character, however long it runs.
TEST_F(EditEvent, DoneKeepsEveryCharacterOfALongTitle)
{
    TEvent event;
    fillEvent(event);
    for (int word = 0; event.Description.size() < 150'000; ++word)
        event.Description += QString(" word%1").arg(word);
    ASSERT_TRUE(execute(event));
    EXPECT_EQ(dialog.FEvent->Description.size(), event.Description.size()) << "unchanged";

    const QString pasted = event.Description + " pasted";
    QApplication::clipboard()->setText(pasted);
    ASSERT_TRUE(execute(event, [&] {
        dialog.edtEvent->selectAll();
        dialog.edtEvent->paste();
    }));
    EXPECT_TRUE(dialog.FEvent->Description == pasted) << dialog.FEvent->Description.size();
}

TEST_F(EditEvent, CancelAndClosingStoreNothingInTheCallersEvent)
{
    TEvent event;
    fillEvent(event);
    EXPECT_FALSE(execute(
        event,
        [&] {
            QTest::keyClick(dialog.tbImportance, Qt::Key_Left);
            dialog.edtEvent->setText("changed");
            dialog.dtpStartDate->setDate(QDate(2026, 4, 1));
        },
        &TfrmEditEvent::btnCancel));
    EXPECT_EQ(event.Importance, eiHigh);
    EXPECT_EQ(event.Description, "Dentist & <co>");
    EXPECT_EQ(event.GetStartDate(), at(2026, 3, 10, 14, 35, 27));
    EXPECT_EQ(event.ExecuteFileXTimes, 5);

    TfrmEditEvent second;
    QTimer::singleShot(0, &second, [&] { QTest::keyClick(&second, Qt::Key_Escape); });
    EXPECT_FALSE(second.Execute(&event, categories)) << "Escape is Cancel";
    QTimer::singleShot(0, &second, [&] { second.close(); });
    EXPECT_FALSE(second.Execute(&event, categories)) << "closing the window is Cancel";
}

TEST_F(EditEvent, AnEventWithoutAReminderOpensWithTheReminderSwitchedOff)
{
    TEvent event;
    event.SetStartDate(at(2026, 3, 10, 8, 0));
    event.UseTime = true;
    event.AlarmType = 0;
    event.AlarmParam = 12;
    const bool done = execute(event, [&] {
        EXPECT_FALSE(dialog.chkAlarmNotify->isChecked());
        EXPECT_EQ(dialog.cboAlarmType->currentText(), "minutes");
        EXPECT_EQ(dialog.sedtAlarmMinB4->value(), 12);
        EXPECT_EQ(enabledReminderControls(), QStringList());
        EXPECT_EQ(dialog.lblAlarmTime->text(), "No Reminder");
        // Switching it on and off again follows at once.
        tick(dialog.chkAlarmNotify);
        EXPECT_EQ(enabledReminderControls().size(), 10);
        EXPECT_EQ(dialog.lblAlarmTime->text(), reminderText(at(2026, 3, 10, 8, 12)));
        tick(dialog.chkAlarmNotify);
    });
    ASSERT_TRUE(done);
    EXPECT_EQ(dialog.FEvent->AlarmType, 0);
    EXPECT_EQ(dialog.FEvent->AlarmParam, 12) << "a reminder switched off keeps what it showed";
}

TEST_F(EditEvent, AnUnknownReminderUnitShowsNoReminderAndIsStoredAsNone)
{
    TEvent event;
    event.SetStartDate(at(2026, 3, 10, 8, 0));
    event.AlarmType = 4;
    event.AlarmParam = -1;
    ASSERT_TRUE(execute(event, [&] {
        EXPECT_TRUE(dialog.chkAlarmNotify->isChecked());
        EXPECT_EQ(dialog.cboAlarmType->currentIndex(), -1);
        EXPECT_EQ(dialog.lblAlarmTime->text(), "No Reminder");
    }));
    EXPECT_EQ(dialog.FEvent->AlarmType, 0);
}

TEST_F(EditEvent, AnEmptiedReminderBoxCountsAsZero)
{
    ASSERT_TRUE(execute(remindedEvent(at(2026, 3, 10, 8, 0), 15), [&] {
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        dialog.pcEventDetails->setCurrentWidget(dialog.tsReminder);
        dialog.sedtAlarmMinB4->setFocus();
        dialog.sedtAlarmMinB4->selectAll();
        QTest::keyClick(dialog.sedtAlarmMinB4, Qt::Key_Delete);
        QTest::keyClick(dialog.sedtAlarmMinB4, Qt::Key_Tab); // the user leaves the box
        EXPECT_EQ(dialog.sedtAlarmMinB4->text().toStdString(), "0");
        EXPECT_EQ(dialog.lblAlarmTime->text().toStdString(), reminderText(at(2026, 3, 10, 8, 0)).toStdString());
    }));
    EXPECT_EQ(dialog.FEvent->AlarmParam, 0);
}

// Both pages fit and every importance name reads on a dark desktop with a large font.
TEST(EditEventLook, BothPagesFitAndTheImportanceReadsUnderADarkLargeLook)
{
    for (int pixels : testing_support::LargeFontPixels) {
        SCOPED_TRACE(std::to_string(pixels) + " px");
        testing_support::DarkLargeLook look(pixels);
        TfrmEditEvent dialog;
        TEvent event;
        event.AlarmType = 1;
        QTimer::singleShot(0, &dialog, [&] {
            for (QWidget* page : {dialog.tsGeneral, dialog.tsReminder}) {
                dialog.pcEventDetails->setCurrentWidget(page);
                QTest::qWait(1);
                EXPECT_EQ(testing_support::layoutFaults(dialog), "") << page->objectName().toStdString();
            }
            dialog.pcEventDetails->setCurrentWidget(dialog.tsGeneral);
            QSet<QRgb> colours;
            for (int position = 0; position <= 3; ++position) {
                dialog.tbImportance->setValue(position);
                const QImage picture = dialog.lblSelectedImportance->grab().toImage();
                EXPECT_GE(testing_support::strongestContrast(picture, picture.rect(), picture.pixelColor(0, 0)), 3.0)
                    << dialog.lblSelectedImportance->text().toStdString();
                colours << dialog.lblSelectedImportance->palette().color(QPalette::WindowText).rgb();
            }
            EXPECT_EQ(colours.size(), 4) << "each importance keeps a colour of its own";
            dialog.reject();
        });
        dialog.Execute(&event, categories);
    }
}

// The date pickers' calendar marks weekends in a red that reads on a dark desktop.
TEST(EditEventLook, TheCalendarsWeekendsReadUnderADarkLargeLook)
{
    testing_support::DarkLargeLook look;
    DatePicker picker;
    picker.SetDateTime(at(2024, 6, 12));
    QCalendarWidget* calendar = picker.calendarWidget();
    QWidget* popUp = calendar->window();
    popUp->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(popUp));
    auto* days = calendar->findChild<QTableView*>();
    ASSERT_NE(days, nullptr);
    const QImage picture = days->viewport()->grab().toImage();
    const QAbstractItemModel& model = *days->model();
    int weekendDays = 0;
    for (int row = 0; row < model.rowCount(); ++row)
        for (int column = 0; column < model.columnCount(); ++column) {
            const QModelIndex cell = model.index(row, column);
            if (model.data(cell).toString() != "15" && model.data(cell).toString() != "16")
                continue; // the first weekend of June 2024 in the month's own rows
            const QRect place = days->visualRect(cell);
            const QColor background = picture.pixelColor(place.topLeft() + QPoint(1, 1));
            EXPECT_GE(testing_support::strongestContrast(picture, place, background), 4.5)
                << model.data(cell).toString().toStdString();
            ++weekendDays;
        }
    EXPECT_EQ(weekendDays, 2);
}

TEST_F(EditEvent, WithoutTheTimeTheStartIsMidnightAndTheReminderCountsFromIt)
{
    ASSERT_TRUE(execute(remindedEvent(at(2026, 3, 10, 8, 40), 30), [&] {
        tick(dialog.chkUseTime);
        EXPECT_FALSE(dialog.tpStartTime->isEnabled());
        EXPECT_EQ(dialog.tpStartTime->Time(), at(2026, 3, 10));
        EXPECT_EQ(dialog.lblAlarmTime->text(), reminderText(at(2026, 3, 9, 23, 30)));
        // Ticking it again keeps midnight until a time is chosen.
        tick(dialog.chkUseTime);
        EXPECT_TRUE(dialog.tpStartTime->isEnabled());
        EXPECT_EQ(dialog.dtpStartDate->DateTime(), at(2026, 3, 10));
        tick(dialog.chkUseTime);
    }));
    EXPECT_EQ(dialog.FEvent->GetStartDate(), at(2026, 3, 10));
    EXPECT_FALSE(dialog.FEvent->UseTime);

    // An event stored without a time opens at midnight with the time picker off.
    TfrmEditEvent again;
    QTimer::singleShot(0, &again, [&] {
        EXPECT_FALSE(again.chkUseTime->isChecked());
        EXPECT_FALSE(again.tpStartTime->isEnabled());
        EXPECT_EQ(again.tpStartTime->Time(), at(2026, 3, 10));
        // A time chosen in the picker reaches the date picker and the start.
        again.tpStartTime->SetTime(at(2026, 3, 10, 17, 15));
        again.tpStartTime->OnTimeChanged(again.tpStartTime);
        EXPECT_EQ(again.dtpStartDate->DateTime(), at(2026, 3, 10, 17, 15));
        QTest::mouseClick(again.btnDone, Qt::LeftButton);
    });
    ASSERT_TRUE(again.Execute(dialog.FEvent.get(), categories));
    EXPECT_EQ(again.FEvent->GetStartDate(), at(2026, 3, 10)) << "without the time, the day alone";
}

TEST_F(EditEvent, TheSoundListHasTheTwoFixedEntriesThenTheFilesSortedIgnoringCase)
{
    makeSounds({"zebra.wav", "Alarm.WAV", "DEFAULT.Wav", "bell.wav", ".hidden.wav", "notes.txt"});
    QDir(programFolder()).mkdir("folder.wav");
    TEvent event;
    event.AlarmType = 1;
    event.AlarmSound = "ALARM";
    ASSERT_TRUE(execute(event, [&] {
        dialog.pcEventDetails->setCurrentWidget(dialog.tsReminder);
        EXPECT_EQ(itemsOf(dialog.cboAlarmSounds), QStringList({"System Default", "Default", "Alarm", "bell", "zebra"}));
        EXPECT_EQ(dialog.cboAlarmSounds->currentText(), "Alarm") << "found in any letter case";
        // The preview plays the item's own file; "System Default" the default alert.
        dialog.cboAlarmSounds->setCurrentIndex(2);
        QTest::mouseClick(dialog.sbtnPlaySelectedSound, Qt::LeftButton);
        dialog.cboAlarmSounds->setCurrentIndex(1);
        QTest::mouseClick(dialog.sbtnPlaySelectedSound, Qt::LeftButton);
        dialog.cboAlarmSounds->setCurrentIndex(0);
        QTest::mouseClick(dialog.sbtnPlaySelectedSound, Qt::LeftButton);
    }));
    QDir(programFolder()).rmdir("folder.wav");
    EXPECT_EQ(sounds.Played,
              QStringList({programFolder() + "Alarm.WAV", programFolder() + "DEFAULT.Wav", QString()}));
    EXPECT_EQ(dialog.FEvent->AlarmSound, "") << "System Default is no file";

    // Without default.wav there is no "Default", and an event that names it opens with the system's.
    makeSounds({"bell.wav"});
    TfrmEditEvent second;
    event.AlarmSound = "Default";
    QTimer::singleShot(0, &second, [&] {
        EXPECT_EQ(itemsOf(second.cboAlarmSounds), QStringList({"System Default", "bell"}));
        EXPECT_EQ(second.cboAlarmSounds->currentIndex(), 0);
        QTest::mouseClick(second.btnDone, Qt::LeftButton);
    });
    ASSERT_TRUE(second.Execute(&event, categories));
    EXPECT_EQ(second.FEvent->AlarmSound, "");
}

// The sounds the build puts beside the program, and so beside this test program.
TEST_F(EditEvent, ListsTheShippedSoundsAndDefaultPlaysDefaultWav)
{
    removeSounds();
    const QDir built(QCoreApplication::applicationDirPath());
    for (const QString& name : built.entryList({"*.wav"}, QDir::Files)) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(QFile::copy(built.filePath(name), programFolder() + name));
        // Mono 16-bit PCM (the sound system refuses 32-bit), short, audible and not clipped.
        const QByteArray wave = testing_support::readFile(built.filePath(name));
        ASSERT_GT(wave.size(), 44);
        const auto word = [&](int at) { return qFromLittleEndian<quint16>(wave.constData() + at); };
        EXPECT_TRUE(wave.startsWith("RIFF") && wave.mid(8, 8) == "WAVEfmt " && wave.mid(36, 4) == "data");
        EXPECT_EQ(QList<int>({word(20), word(22), word(34)}), QList<int>({1, 1, 16})) << "PCM, channels, bits";
        const auto dataBytes = qFromLittleEndian<quint32>(wave.constData() + 40);
        EXPECT_EQ(dataBytes, quint32(wave.size() - 44));
        const double seconds = dataBytes / 2.0 / qFromLittleEndian<quint32>(wave.constData() + 24);
        EXPECT_TRUE(seconds > 0.2 && seconds <= 3) << seconds << " s";
        int peak = 0;
        for (int at = 44; at + 1 < wave.size(); at += 2)
            peak = std::max(peak, std::abs(int(qFromLittleEndian<qint16>(wave.constData() + at))));
        EXPECT_TRUE(peak > 8000 && peak < 32000) << "peak " << peak;
    }
    TEvent event;
    event.AlarmType = 1;
    event.AlarmSound = "Default"; // as a quick capture stores it
    ASSERT_TRUE(execute(event, [&] {
        EXPECT_EQ(itemsOf(dialog.cboAlarmSounds), QStringList({"System Default", "Default", "Bell", "Chime", "Ping"}));
        EXPECT_EQ(dialog.cboAlarmSounds->currentText(), "Default");
        QTest::mouseClick(dialog.sbtnPlaySelectedSound, Qt::LeftButton);
    }));
    EXPECT_EQ(sounds.Played, QStringList{programFolder() + "default.wav"});
    EXPECT_EQ(dialog.FEvent->AlarmSound, "Default");
}

TEST_F(EditEvent, BrowseInsertsTheChosenFileAtTheCaretAndTicksExecute)
{
    const QString script = testing_support::writeFile(programFolder() + "scripts/run me.sh", "#!/bin/sh\n");
    TEvent event;
    event.AlarmType = 1;
    event.CmdsToExecute = "sh \r\nexit";
    ASSERT_TRUE(execute(event, [&] {
        dialog.pcEventDetails->setCurrentWidget(dialog.tsReminder);
        QTextCursor caret = dialog.memCmdsToExecute->textCursor();
        caret.setPosition(3);
        dialog.memCmdsToExecute->setTextCursor(caret);
        QTimer::singleShot(0, &dialog, [&] {
            auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(files, nullptr);
            files->selectFile(script);
            QMetaObject::invokeMethod(files, "accept");
        });
        QTest::mouseClick(dialog.btnBrowseForFile, Qt::LeftButton);
        EXPECT_TRUE(dialog.chkExecute->isChecked());
    }));
    EXPECT_EQ(dialog.FEvent->CmdsToExecute, "sh " + script + "\r\nexit");
    EXPECT_TRUE(dialog.FEvent->ExecuteFile);
}

TEST_F(EditEvent, TheRepeatedDatesEditorsResultSetsTheStartAndTheRepeats)
{
    TEvent event;
    fillEvent(event);
    ASSERT_TRUE(execute(event, [&] {
        TDateTimeList dates;
        for (TDateTime date : {at(2026, 5, 1, 9, 0), at(2026, 5, 8, 9, 0), at(2026, 5, 15, 9, 0)})
            dates.AddDate(date, false, 0);
        dialog.useRepeatedDates(dates);
        EXPECT_EQ(dialog.dtpStartDate->DateTime(), at(2026, 5, 1, 9, 0));
        EXPECT_EQ(dialog.tpStartTime->Time(), at(2026, 5, 1, 9, 0));
        EXPECT_EQ(dialog.lblAlarmTime->text(), reminderText(at(2026, 5, 1, 6, 0)));
    }));
    EXPECT_EQ(dialog.FEvent->GetStartDate(), at(2026, 5, 1, 9, 0));
    EXPECT_EQ(repeatsOf(*dialog.FEvent), (std::vector<TDateTime>{at(2026, 5, 8, 9, 0), at(2026, 5, 15, 9, 0)}));
}

} // namespace
