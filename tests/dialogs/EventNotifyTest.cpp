#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "ReminderTestSupport.h"
#include "TestSupport.h"
#include "dialogs/EventNotify.h"
#include "events/EventList.h"
#include "events/Exceptions.h"
#include "events/WaitExecuteThread.h"

using testing_support::at;
using testing_support::ClockOverride;
using namespace reminder_testing;

namespace {

// The offscreen platform says at every slide step that it has no opacity and no
// stacking order; those lines hide the output that matters.
QtMessageHandler defaultMessageHandler = nullptr;

void dropOffscreenLimits(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!message.startsWith(QLatin1String("This plugin does not support")))
        defaultMessageHandler(type, context, message);
}

class EventNotify : public ::testing::Test {
protected:
    EventNotify()
    {
        defaultMessageHandler = qInstallMessageHandler(dropOffscreenLimits);
        TfrmEventNotify::setSlideStepDelay(0);
        QCursor::setPos(0, 0); // away from the window
        form.OnNotifyEventsChanged = [this] {
            ++changedCalls;
            list.GetExpiredEvents(form.FExpiredEvents); // as the main window refills it
        };
    }
    ~EventNotify() override
    {
        TfrmEventNotify::setSlideStepDelay(3);
        CleanTmpFolder();
        qInstallMessageHandler(defaultMessageHandler);
    }

    // An enabled event with a sound reminder 10 minutes before Start; due when the clock has passed that.
    int addEvent(const QString& description, TDateTime start, TEventImportance importance = eiNormal)
    {
        TEvent event;
        event.SetValues(start, true, 0, QStringLiteral("Work"), description, 1, -10);
        event.Importance = importance;
        event.PopUpNotify = true;
        const int index = list.AddEvent(event);
        list.GetEvent(index)->RecalculateNoticationTimes();
        return index;
    }

    void refresh()
    {
        list.GetExpiredEvents(form.FExpiredEvents);
        form.RefreshForEvents(&list, 220);
    }

    QString shownCount() const { return form.lblEventCount->text(); }
    QString shownText() const { return form.lblEventDesc->text(); }
    QRect workArea() const { return QGuiApplication::primaryScreen()->availableGeometry(); }

    RecordingSoundPlayer sounds;
    RecordingShellOpener shell;
    ClockOverride clock{at(2026, 3, 10, 9, 0)};
    TEventList list;
    TfrmEventNotify form;
    int changedCalls = 0;
};

} // namespace

TEST_F(EventNotify, SlidesIntoTheWorkAreaCornerAndShowsTheFirstReminder)
{
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(form.testAttribute(Qt::WA_ShowWithoutActivating));

    addEvent(QStringLiteral("Call the dentist"), at(2026, 3, 10, 9, 5));
    addEvent(QStringLiteral("later"), at(2026, 3, 10, 12, 0));
    refresh();

    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.FPopedUp);
    EXPECT_EQ(form.size(), QSize(382, 149));
    EXPECT_EQ(form.frameGeometry().bottomRight(), workArea().bottomRight());
    EXPECT_EQ(form.AlphaBlendValue(), 220);
    EXPECT_NEAR(form.windowOpacity(), 220 / 255.0, 0.01);
    EXPECT_TRUE(form.tmrCycleEvents->isActive());

    EXPECT_EQ(shownCount(), "1 / 1");
    EXPECT_EQ(shownText(), "Call the dentist");
    EXPECT_EQ(form.lblEventCategory->text(), "Work");
    EXPECT_EQ(form.lblEventTime->text(), formatDateTime(QStringLiteral("dddd, d mmmm yyyy tt"), at(2026, 3, 10, 9, 5)));
    EXPECT_FALSE(form.Image2->isVisible()) << "normal importance shows no picture";
    EXPECT_FALSE(form.btnExecute->isEnabled()) << "no command file to launch";
    EXPECT_EQ(sounds.Played.size(), 1) << "the display sounds the reminder";

    const QImage picture = form.grab().toImage();
    picture.save(QDir::temp().filePath(QStringLiteral("quillet-event-notify.png")));
    EXPECT_EQ(picture.pixelColor(200, 60), QColor(Qt::white)) << "white background";

    // A refresh while up changes nothing on screen; the new list shows from the next display.
    clock.set(at(2026, 3, 10, 11, 55));
    refresh();
    EXPECT_EQ(form.frameGeometry().bottomRight(), workArea().bottomRight());
    EXPECT_EQ(shownCount(), "1 / 1");
    form.tmrCycleEventsTimer();
    EXPECT_EQ(shownCount(), "2 / 2");
    EXPECT_EQ(shownText(), "later");
}

TEST_F(EventNotify, CyclesUnlessTheMouseRestsOnItOrTheSnoozeListIsOpen)
{
    addEvent(QStringLiteral("first"), at(2026, 3, 10, 9, 5), eiLow);
    addEvent(QStringLiteral("second"), at(2026, 3, 10, 9, 6), eiHigh);
    addEvent(QStringLiteral("third"), at(2026, 3, 10, 9, 7), eiHighest);
    refresh();

    QStringList seen{shownCount()};
    bool pictureShown = form.Image2->isVisible();
    for (int i = 0; i < 3; ++i) {
        form.tmrCycleEventsTimer();
        seen << shownCount();
        pictureShown = pictureShown && form.Image2->isVisible();
    }
    EXPECT_EQ(seen, QStringList({"1 / 3", "2 / 3", "3 / 3", "1 / 3"}));
    EXPECT_TRUE(pictureShown) << "low, high and highest each show a picture";
    EXPECT_EQ(sounds.Played.size(), 3) << "a low reminder sounds at its first display only";
    form.tmrCycleEventsTimer();
    EXPECT_EQ(shownCount(), "2 / 3");
    EXPECT_EQ(sounds.Played.size(), 4) << "a high reminder sounds at up to three displays";

    QCursor::setPos(form.geometry().center());
    form.tmrCycleEventsTimer();
    EXPECT_EQ(shownCount(), "2 / 3");
    // The edges count as inside, also the column just right of the window.
    QCursor::setPos(form.x() + form.width(), form.y());
    form.tmrCycleEventsTimer();
    EXPECT_EQ(shownCount(), "2 / 3");
    EXPECT_EQ(sounds.Played.size(), 4) << "the reminder on show is not sounded again";

    QCursor::setPos(0, 0);
    form.cboSnoozeOptions->showPopup();
    form.tmrCycleEventsTimer();
    EXPECT_EQ(shownCount(), "2 / 3");
    form.cboSnoozeOptions->hidePopup();
    form.tmrCycleEventsTimer();
    EXPECT_EQ(shownCount(), "3 / 3");
}

TEST_F(EventNotify, ButtonsActOnTheOccurrenceOnShowAfterTheListWasRebuilt)
{
    // One event due at its start and two repeated dates: rows (0,-1), (0,0), (0,1).
    TEvent event;
    event.SetValues(at(2026, 3, 10, 8, 0), true, 0, QStringLiteral("Work"), QStringLiteral("pills"), 1, -10);
    event.PopUpNotify = true;
    event.RepeatedDates->AddDate(at(2026, 3, 10, 8, 30), false, 0);
    event.RepeatedDates->AddDate(at(2026, 3, 10, 9, 0), false, 0);
    list.AddEvent(event);
    list.GetEvent(0)->RecalculateNoticationTimes();
    refresh();
    form.tmrCycleEventsTimer();
    ASSERT_EQ(shownCount(), "2 / 3");
    const QString shownDate = form.lblEventTime->text();

    // Meanwhile the start occurrence is dismissed elsewhere and the check rebuilds the
    // list: the date on show (08:30) is now the start, the row (0,0) names 09:00.
    list.Dissmiss(TListViewEventItem(0, -1));
    list.GetExpiredEvents(form.FExpiredEvents);

    QTest::mouseClick(form.btnDismiss, Qt::LeftButton);
    const TEvent& left = *list.GetEvent(0);
    EXPECT_EQ(left.GetStartDate(), at(2026, 3, 10, 9, 0)) << "08:30 ended, 09:00 kept";
    EXPECT_EQ(left.RepeatedDates->GetCount(), 0);
    EXPECT_NE(form.lblEventTime->text(), shownDate);
}

TEST_F(EventNotify, AButtonWhoseOccurrenceIsGoneOnlyMovesOn)
{
    const std::function<void()> buttons[] = {
        [this] { form.Snooze(10); },
        [this] { form.btnDismissClick(); },
        [this] { form.btnExecuteClick(); },
    };
    form.FEventList = &list;
    for (const auto& click : buttons) {
        while (list.Count() > 0)
            list.DeleteEvent(0);
        addEvent(QStringLiteral("shown"), at(2026, 3, 10, 9, 5));
        const int other = addEvent(QStringLiteral("other"), at(2026, 3, 10, 9, 6));
        list.GetEvent(other)->ExecuteFile = true;
        list.GetEvent(other)->ExecuteFileXTimes = 1;
        list.GetEvent(other)->CmdsToExecute = QStringLiteral("echo other");
        list.GetExpiredEvents(form.FExpiredEvents);
        form.FCurrentIndex = -1;
        form.CycleEvents();
        ASSERT_EQ(shownText(), "shown");

        // Dismissed elsewhere; the next check leaves only the other reminder at index 0.
        list.Dissmiss(TListViewEventItem(0, -1));
        list.GetExpiredEvents(form.FExpiredEvents);
        list.Modified = false;
        changedCalls = 0;
        const TDateTime otherDue = list.GetEvent(other)->StartDateItem->NotificationTime;

        click();
        EXPECT_TRUE(list.GetEvent(other)->Enabled);
        EXPECT_EQ(list.GetEvent(other)->StartDateItem->NotificationTime, otherDue) << "not snoozed";
        EXPECT_FALSE(list.Modified);
        EXPECT_EQ(changedCalls, 0);
        EXPECT_EQ(shownText(), "other") << "the display moved on";
    }
    EXPECT_TRUE(shell.contents().empty());
}

TEST_F(EventNotify, SnoozeUsesTheCommittedChoiceOnly)
{
    const int first = addEvent(QStringLiteral("first"), at(2026, 3, 10, 9, 5));
    addEvent(QStringLiteral("second"), at(2026, 3, 10, 9, 6));
    refresh();
    list.Modified = false;
    const TDateTimeItem& firstStart = *list.GetEvent(first)->StartDateItem;
    ASSERT_EQ(firstStart.NotificationCount, 1);

    // Browsing with the wheel changes the choice without snoozing anything.
    QWheelEvent wheel(QPointF(10, 10), form.cboSnoozeOptions->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(form.cboSnoozeOptions, &wheel);
    EXPECT_EQ(form.cboSnoozeOptions->currentIndex(), 1);
    QTest::keyClick(form.cboSnoozeOptions, Qt::Key_Down);
    EXPECT_EQ(form.cboSnoozeOptions->currentIndex(), 2);
    EXPECT_EQ(changedCalls, 0);
    EXPECT_EQ(form.FExpiredEvents.size(), 2u);

    // The button snoozes the reminder on show by the choice: 15 minutes.
    QTest::mouseClick(form.btnSnooze, Qt::LeftButton);
    EXPECT_EQ(firstStart.NotificationTime, at(2026, 3, 10, 9, 15));
    EXPECT_EQ(firstStart.NotificationCount, 0);
    EXPECT_FALSE(list.Modified) << "a snooze changes nothing the event file holds";
    EXPECT_EQ(changedCalls, 1);
    EXPECT_EQ(rowsOf(form.FExpiredEvents), (std::vector<Row>{{1, -1}}));

    // Choosing "for 0.5 days" in the open list and pressing Enter snoozes at once.
    form.cboSnoozeOptions->showPopup();
    QAbstractItemView* choices = form.cboSnoozeOptions->view();
    choices->setCurrentIndex(choices->model()->index(8, 0));
    QTest::keyClick(choices, Qt::Key_Return);
    EXPECT_EQ(form.cboSnoozeOptions->currentText(), "for 0.5 days");
    EXPECT_EQ(list.GetEvent(1)->StartDateItem->NotificationTime, at(2026, 3, 10, 21, 0));
    EXPECT_EQ(changedCalls, 2);
    EXPECT_FALSE(form.isVisible()) << "nothing is due any more";

    form.Retranslate();
    EXPECT_EQ(form.cboSnoozeOptions->currentIndex(), 0);
    EXPECT_EQ(form.cboSnoozeOptions->count(), 10);
    EXPECT_EQ(form.cboSnoozeOptions->itemText(9), "for 1 day");
}

TEST_F(EventNotify, AFailedLaunchKeepsTheOccurrenceDue)
{
    const int index = addEvent(QStringLiteral("backup"), at(2026, 3, 10, 9, 5));
    TEvent& event = *list.GetEvent(index);
    event.ExecuteFile = true;
    event.ExecuteFileXTimes = 1;
    event.CmdsToExecute = QStringLiteral("echo hello");
    refresh();
    list.Modified = false;

    FailingTempFileNamer noNames;
    try {
        form.btnExecuteClick();
        FAIL() << "the launch failure must reach the user";
    } catch (const QuilletError& error) {
        EXPECT_TRUE(error.message().startsWith("Exception in: \"TfrmEventNotify.btnExecuteClick\"\r\n"));
        EXPECT_TRUE(error.message().contains("unable to get temp file name"));
    }
    EXPECT_TRUE(event.Enabled);
    EXPECT_FALSE(list.Modified);
    EXPECT_EQ(changedCalls, 0);
    EXPECT_EQ(shownText(), "backup");
}

TEST_F(EventNotify, AnEventThatIsGoneShowsNoReminder)
{
    addEvent(QStringLiteral("first"), at(2026, 3, 10, 9, 5));
    refresh();
    form.FExpiredEvents.push_back(std::make_unique<TListViewEventItem>(5, -1));
    form.FExpiredEvents.push_back(std::make_unique<TListViewEventItem>(0, 3)); // no such repeated date
    form.tmrCycleEventsTimer();
    EXPECT_EQ(shownCount(), "");
    EXPECT_EQ(form.lblEventTime->text(), "No event reminders");
    form.tmrCycleEventsTimer();
    EXPECT_EQ(shownCount(), "");
    form.tmrCycleEventsTimer();
    EXPECT_EQ(shownCount(), "1 / 3");
}
