// The reminder pop-up: what it shows, how it cycles, and what its buttons act on.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QLabel>
#include <QLoggingCategory>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include "LayoutCheck.h"
#include "PlatformFakes.h"
#include "TestEvent.h"
#include "TestSupport.h"
#include "dialogs/EventNotify.h"

using testing_support::at;

namespace {

class EventNotify : public ::testing::Test {
protected:
    EventNotify()
    {
        // Silences the offscreen platform's warnings at every slide step.
        QLoggingCategory::setFilterRules("default.warning=false");
        TfrmEventNotify::setSlideStepDelay(0);
        TfrmEventNotify::setClickGuard(0);
        QCursor::setPos(0, 0); // away from the window
        form.OnNotifyEventsChanged = [this] {
            ++changedCalls;
            list.GetExpiredEvents(form.FExpiredEvents); // as the main window refills it
        };
    }
    ~EventNotify() override
    {
        TfrmEventNotify::setSlideStepDelay(3);
        TfrmEventNotify::setClickGuard(1000);
    }

    void add(TestEvent event)
    {
        event.reminder = event.popUp = true;
        event.addTo(list);
    }
    void refresh()
    {
        list.GetExpiredEvents(form.FExpiredEvents);
        form.RefreshForEvents(&list, 220);
        list.Modified = false;
    }
    static TDateTime today(int hour, int minute) { return at(2026, 3, 10, hour, minute); }
    QString shownCount() const { return form.lblEventCount->text(); }
    QString shownText() const { return form.lblEventDesc->text(); }

    RecordingSoundPlayer sounds;
    RecordingShellOpener shell;
    testing_support::ClockOverride clock{today(9, 0)};
    TEventList list;
    TfrmEventNotify form;
    int changedCalls = 0;
};

TEST_F(EventNotify, SlidesInAtTheCornerAndCyclesUnlessTheUserIsAtIt)
{
    add({.when = today(9, 5), .description = "Call the dentist"});
    add({.when = today(9, 6), .description = "second"});
    add({.when = today(12, 0), .description = "later"});
    refresh();
    EXPECT_EQ(form.size(), QSize(382, 149));
    EXPECT_EQ(form.frameGeometry().bottomRight(), QGuiApplication::primaryScreen()->availableGeometry().bottomRight());
    EXPECT_NEAR(form.windowOpacity(), 220 / 255.0, 0.01);
    EXPECT_EQ(shownText(), "Call the dentist");
    EXPECT_EQ(form.lblEventTime->text(), formatDateTime("dddd, d mmmm yyyy tt", today(9, 5)));
    EXPECT_EQ(form.grab().toImage().pixelColor(200, 60), QColor(Qt::white)) << "white background";

    QStringList seen{shownCount()};
    for (int i = 0; i < 2; ++i) {
        form.tmrCycleEventsTimer();
        seen << shownCount();
    }
    EXPECT_EQ(seen, QStringList({"1 / 2", "2 / 2", "1 / 2"}));
    // Not while the mouse is on it (the column just right of it counts) or the snooze list is open.
    QCursor::setPos(form.x() + form.width(), form.y());
    form.tmrCycleEventsTimer();
    EXPECT_EQ(shownCount(), "1 / 2");
    QCursor::setPos(0, 0);
    form.cboSnoozeOptions->showPopup();
    form.tmrCycleEventsTimer();
    EXPECT_EQ(shownCount(), "1 / 2");
    form.cboSnoozeOptions->hidePopup();

    // A refresh while up changes nothing on screen; the new list shows from the next display.
    clock.set(today(11, 55));
    refresh();
    EXPECT_EQ(shownCount(), "1 / 2");
    form.tmrCycleEventsTimer();
    EXPECT_EQ(shownCount(), "2 / 3");
}

TEST_F(EventNotify, ButtonsActOnTheOccurrenceOnShowAfterTheListWasRebuilt)
{
    // Due at its start and two repeated dates: rows (0,-1), (0,0), (0,1).
    add({.when = today(8, 0), .description = "pills", .repeats = {today(8, 30), today(9, 0)}});
    refresh();
    form.tmrCycleEventsTimer();
    ASSERT_EQ(shownCount(), "2 / 3");

    // The start is dismissed elsewhere and the list rebuilt: 08:30 is now the start, row (0,0) 09:00.
    list.Dissmiss(TListViewEventItem(0, -1));
    list.GetExpiredEvents(form.FExpiredEvents);
    QTest::mouseClick(form.btnDismiss, Qt::LeftButton);
    EXPECT_EQ(list.GetEvent(0)->GetStartDate(), today(9, 0)) << "08:30 ended, 09:00 kept";
    EXPECT_EQ(list.GetEvent(0)->RepeatedDates->GetCount(), 0);
}

TEST_F(EventNotify, AButtonWhoseOccurrenceIsGoneOnlyMovesOn)
{
    form.FEventList = &list;
    for (const auto& click : std::vector<std::function<void()>>{
             [this] { form.Snooze(10); }, [this] { form.btnDismissClick(); }, [this] { form.btnExecuteClick(); }}) {
        while (list.Count() > 0)
            list.DeleteEvent(0);
        add({.when = today(9, 5), .description = "shown"});
        add({.when = today(9, 6), .description = "other", .commands = "echo other"});
        list.GetExpiredEvents(form.FExpiredEvents);
        form.FCurrentIndex = -1;
        form.CycleEvents();
        ASSERT_EQ(shownText(), "shown");

        // Dismissed elsewhere; the next check leaves only the other reminder at index 0.
        list.Dissmiss(TListViewEventItem(0, -1));
        list.GetExpiredEvents(form.FExpiredEvents);
        list.Modified = false;
        changedCalls = 0;
        const TDateTime otherDue = list.GetEvent(1)->StartDateItem->NotificationTime;

        click();
        EXPECT_TRUE(list.GetEvent(1)->Enabled);
        EXPECT_EQ(list.GetEvent(1)->StartDateItem->NotificationTime, otherDue) << "not snoozed";
        EXPECT_FALSE(list.Modified);
        EXPECT_EQ(changedCalls, 0);
        EXPECT_EQ(shownText(), "other") << "the display moved on";
    }
    EXPECT_TRUE(shell.contents().empty());
}

TEST_F(EventNotify, SnoozeUsesTheCommittedChoiceOnly)
{
    add({.when = today(9, 5), .description = "first"});
    add({.when = today(9, 6), .description = "second"});
    refresh();

    // Browsing with the wheel or the arrow keys changes the choice without snoozing anything.
    QWheelEvent wheel(QPointF(10, 10), form.cboSnoozeOptions->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(form.cboSnoozeOptions, &wheel);
    QTest::keyClick(form.cboSnoozeOptions, Qt::Key_Down);
    EXPECT_EQ(form.cboSnoozeOptions->currentIndex(), 2);
    EXPECT_EQ(changedCalls, 0);

    // Choosing "for 0.5 days" in the open list and pressing Enter snoozes the reminder on show at once.
    form.cboSnoozeOptions->showPopup();
    QAbstractItemView* choices = form.cboSnoozeOptions->view();
    choices->setCurrentIndex(choices->model()->index(8, 0));
    QTest::keyClick(choices, Qt::Key_Return);
    EXPECT_EQ(form.cboSnoozeOptions->currentText(), "for 0.5 days");
    EXPECT_EQ(list.GetEvent(0)->StartDateItem->NotificationTime, today(21, 0));
    EXPECT_FALSE(list.Modified) << "a snooze changes nothing the event file holds";
    EXPECT_EQ(changedCalls, 1);
    EXPECT_EQ(testing_support::rowsOf(form.FExpiredEvents), (testing_support::Rows{{1, -1}}));
}

TEST_F(EventNotify, AClickOnAReminderThatHasJustComeUpDoesNothing)
{
    TfrmEventNotify::setClickGuard(1000);
    add({.when = today(9, 5), .description = "first"});
    add({.when = today(9, 6), .description = "second"});
    refresh();
    QTest::qWait(1100);
    // The display moves on just as the user clicks: the click was meant for "first".
    form.tmrCycleEventsTimer();
    ASSERT_EQ(shownText(), "second");
    // A guard far longer than the clicks can take: a slow machine can't let them through.
    TfrmEventNotify::setClickGuard(60000);
    QTest::mouseClick(form.btnDismiss, Qt::LeftButton);
    QTest::mouseClick(form.btnSnooze, Qt::LeftButton);
    EXPECT_EQ(changedCalls, 0);
    EXPECT_TRUE(list.GetEvent(1)->Enabled);
    EXPECT_EQ(shownText(), "second");

    // Once it has been read, a click acts on it.
    TfrmEventNotify::setClickGuard(1000);
    QTest::qWait(1000);
    QTest::mouseClick(form.btnDismiss, Qt::LeftButton);
    EXPECT_FALSE(list.GetEvent(1)->Enabled);
    EXPECT_TRUE(list.GetEvent(0)->Enabled);
    EXPECT_EQ(changedCalls, 1);

    // The one left stays on show at each cycle: a click just after one still acts.
    ASSERT_EQ(shownText(), "first");
    QTest::qWait(1000);
    form.tmrCycleEventsTimer();
    QTest::mouseClick(form.btnSnooze, Qt::LeftButton);
    EXPECT_EQ(changedCalls, 2) << "snoozed";
    // Due again, it comes up where the pointer may rest: no click at once.
    clock.set(today(9, 6));
    refresh();
    ASSERT_EQ(shownText(), "first");
    TfrmEventNotify::setClickGuard(60000);
    QTest::mouseClick(form.btnDismiss, Qt::LeftButton);
    EXPECT_TRUE(list.GetEvent(0)->Enabled);
    EXPECT_EQ(changedCalls, 2);
}

// Text drawn on the window's fixed white must not take a dark scheme's light text colour.
TEST_F(EventNotify, UnderADarkColourSchemeTheTextsOnWhiteKeepTheirColours)
{
    const QPalette before = QApplication::palette();
    QPalette dark(QColor(0x3c, 0x3c, 0x3c), QColor(0x2b, 0x2b, 0x2b));
    dark.setColor(QPalette::WindowText, QColor(0xdd, 0xdd, 0xdd));
    dark.setColor(QPalette::Text, QColor(0xdd, 0xdd, 0xdd));
    dark.setColor(QPalette::ButtonText, QColor(0xdd, 0xdd, 0xdd));
    QApplication::setPalette(dark);
    TfrmEventNotify darkForm;
    add({.when = today(9, 5), .description = "Call the dentist", .importance = eiHigh});
    list.GetExpiredEvents(darkForm.FExpiredEvents);
    darkForm.RefreshForEvents(&list, 255);
    // The darkest pixel of each text: its own colour, not the scheme's light grey.
    const auto darkest = [](QLabel* label) {
        const QImage picture = label->grab().toImage();
        QColor result(Qt::white);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (picture.pixelColor(x, y).lightness() < result.lightness())
                    result = picture.pixelColor(x, y);
        return result;
    };
    for (QLabel* label : {darkForm.lblEventDesc, darkForm.lblEventTime, darkForm.lblEventCount, darkForm.TntLabel1})
        EXPECT_LT(darkest(label).lightness(), 0x60) << label->objectName().toStdString();
    QApplication::setPalette(before);
}

// A dark, large desktop theme moves nothing and leaves the buttons the window's 11 px.
TEST_F(EventNotify, UnderADarkLargeLookEverythingKeepsItsPlaceAndFont)
{
    add({.when = today(9, 5), .description = "Call the dentist about the appointment next week",
         .importance = eiHighest, .category = "Work"});
    for (int pixels : testing_support::LargeFontPixels) {
        SCOPED_TRACE(std::to_string(pixels) + " px");
        testing_support::DarkLargeLook look(pixels);
        TfrmEventNotify darkForm;
        list.GetExpiredEvents(darkForm.FExpiredEvents);
        darkForm.RefreshForEvents(&list, 255);
        EXPECT_EQ(testing_support::layoutFaults(darkForm), "");
        for (QWidget* control :
             std::initializer_list<QWidget*>{darkForm.btnSnooze, darkForm.btnDismiss, darkForm.btnExecute,
                                             darkForm.btnEditEvent, darkForm.cboSnoozeOptions})
            EXPECT_EQ(control->font().pixelSize(), 11) << control->objectName().toStdString();
    }
}

TEST_F(EventNotify, AnEventThatIsGoneShowsNoReminder)
{
    add({.when = today(9, 5), .description = "first"});
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

} // namespace
