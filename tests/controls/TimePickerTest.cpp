// The time picker: its hour and minute menus, what it shows, its notifications and
// its look.
#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <vector>

#include "ControlsTestSupport.h"
#include "LayoutCheck.h"
#include "TestSupport.h"
#include "controls/TimePicker.h"

using namespace controls_test;
using testing_support::at;
using Times = std::vector<TDateTime>;

namespace {

// A 24-hour picker on 6 May 2024 at 10:00:30; its notifications go to changes.
class TimePickerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        picker.OnTimeChanged = [this](QObject* s) { changes.push_back(s == &picker ? picker.Time() : -1); };
        picker.SetTimeFormat(tf24Hr);
        picker.SetTime(at(2024, 5, 6, 10, 0, 30));
        QCursor::setPos(3000, 3000); // away from every window: a mouse left over from an earlier test must not hover
        picker.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&picker));
    }
    void TearDown() override { dismissOpenMenu(); }

    QLabel* label(const char* name) { return picker.findChild<QLabel*>(name); }
    void clickOn(const char* name) { QTest::mouseClick(label(name), Qt::LeftButton, {}, QPoint(2, 2)); }
    // hour|minutes|postfix
    QString shown()
    {
        return label("lblHour")->text() + '|' + label("lblMin")->text() + '|' + label("lblTimePostfix")->text();
    }
    bool hovered(const char* name) { return label(name)->font() == picker.MouseOverFont().font; }

    TTimePicker picker;
    Times changes;
};

// The minute menu follows the hour menu; the minute label opens the minute menu alone.
TEST_F(TimePickerTest, HourThenMinuteGivesTheTimeOnTheSameDate)
{
    clickOn("lblHour");
    dismissOpenMenu();
    ASSERT_EQ(openMenu(), picker.findChild<QMenu*>("pmnuMin")) << "follows a dismissed hour menu too";
    dismissOpenMenu();
    clickOn("lblHour");
    ASSERT_EQ(openMenu(), picker.findChild<QMenu*>("pmnuHour"));
    EXPECT_TRUE(captions(openMenu()).startsWith("0 1 2 3") && captions(openMenu()).endsWith("22 23"));
    choose(QStringLiteral("14"));

    ASSERT_EQ(openMenu(), picker.findChild<QMenu*>("pmnuMin"));
    EXPECT_EQ(captions(openMenu()->actions()[5]->menu()), QStringLiteral("50 51 52 53 54 55 56 57 58 59"));
    choose(QStringLiteral("30/35"));
    clickOn("lblMin");
    choose(QStringLiteral("0/5"));

    EXPECT_EQ(openMenu(), nullptr);
    EXPECT_EQ(changes, (Times{at(2024, 5, 6, 14, 0), at(2024, 5, 6, 14, 35), at(2024, 5, 6, 14, 5)}))
        << "SetTime notified nobody";
    EXPECT_EQ(shown(), QStringLiteral("14|05|"));
}

TEST_F(TimePickerTest, TwelveHourFormSplitsMorningAndAfternoon)
{
    picker.SetTimeFormat(tf12Hr);
    picker.SetAutoMinPopupAfterHour(false);
    EXPECT_EQ(picker.findChild<QMenu*>("pmnuMin")->findChildren<QMenu*>().size(), 6) << "rebuilt, not added to";
    const QString am = ' ' + QLocale::system().amText(), pm = ' ' + QLocale::system().pmText();
    const std::pair<const char*, QString> choices[] = {{"a.m./12", "12|00|" + am}, {"a.m./1", "1|00|" + am},
                                                       {"a.m./11", "11|00|" + am}, {"p.m./12", "12|00|" + pm},
                                                       {"p.m./1", "1|00|" + pm},   {"p.m./11", "11|00|" + pm}};
    for (const auto& [path, display] : choices) {
        clickOn("lblHour");
        EXPECT_EQ(captions(openMenu()), QStringLiteral("a.m. p.m."));
        choose(QString::fromLatin1(path));
        EXPECT_EQ(openMenu(), nullptr) << "no minute menu when not asked for";
        EXPECT_EQ(shown(), display) << path;
    }
    picker.SetTimeFormat(tfSystem); // the 12-hour form where the locale's time shows AM or PM
    EXPECT_EQ(shown().endsWith(pm),
              QLocale::system().timeFormat(QLocale::LongFormat).contains("ap", Qt::CaseInsensitive));
}

TEST_F(TimePickerTest, OwnersFailureIsReportedAfterTheChange)
{
    ReportCollector reports;
    picker.OnTimeChanged = [](QObject*) { throw std::runtime_error("owner failed"); };
    clickOn("lblMin");
    choose(QStringLiteral("50/59"));
    EXPECT_EQ(reports.texts, QStringList{QStringLiteral("owner failed")});
    EXPECT_EQ(picker.Time(), at(2024, 5, 6, 10, 59, 30)) << "minutes keep the seconds";
    EXPECT_EQ(shown(), QStringLiteral("10|59|"));
}

TEST_F(TimePickerTest, ADisabledPickerDrawsItsTimeInTheDisabledColour)
{
    const QColor disabled = picker.palette().color(QPalette::Disabled, QPalette::WindowText);
    ASSERT_NE(disabled, picker.Font().colour);
    picker.setEnabled(false);
    for (const char* name : {"lblHour", "lblTimeSep", "lblMin"})
        EXPECT_EQ(label(name)->palette().color(QPalette::Disabled, QPalette::WindowText), disabled) << name;
    picker.setEnabled(true);
    EXPECT_EQ(label("lblHour")->palette().color(QPalette::Active, QPalette::WindowText), picker.Font().colour);
}

// The pictures are written for a human to look at.
TEST_F(TimePickerTest, BothFormsReadLeftToRightWithALinkUnderTheMouse)
{
    QTest::mouseMove(label("lblMin"), QPoint(2, 2));
    EXPECT_TRUE(hovered("lblMin"));
    EXPECT_FALSE(hovered("lblHour"));
    screenshot(picker, QStringLiteral("timepicker-24h-hover"));
    picker.SetTimeFormat(tf12Hr);
    const QImage image = screenshot(picker, QStringLiteral("timepicker-12h-hover"));
    const auto ink = [&](const char* name) { return inkBounds(image, label(name)->geometry(), image.pixel(0, 0)); };
    EXPECT_LT(ink("lblHour").right(), ink("lblMin").left());
    EXPECT_LT(ink("lblMin").right(), ink("lblTimePostfix").left());
}

// A picker made on a light window still reads once the desktop turns dark.
TEST_F(TimePickerTest, TheTimeReadsAfterTheDesktopTurnsDark)
{
    testing_support::DarkLargeLook look;
    QApplication::processEvents(); // the change reaches the running picker
    const QImage picture = picker.grab().toImage();
    const QColor background = picker.palette().color(QPalette::Window);
    EXPECT_EQ(picture.pixelColor(0, 0), background);
    for (const char* name : {"lblHour", "lblMin"})
        EXPECT_GE(testing_support::strongestContrast(picture, label(name)->geometry(), background), 4.5) << name;
}

// On a dark window the time and the link under the mouse read as well as on a light one.
TEST(TimePickerLook, TheTimeAndTheLinkReadOnADarkWindow)
{
    testing_support::DarkLargeLook look;
    QWidget window;
    window.setAutoFillBackground(true);
    TTimePicker picker(&window);
    picker.SetTimeFormat(tf24Hr);
    picker.SetTime(at(2024, 5, 6, 10, 0));
    picker.adjustSize();
    window.resize(picker.size());
    QCursor::setPos(3000, 3000); // the link below is the only one under the mouse
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* minutes = picker.findChild<QLabel*>("lblMin");
    picker.HourMinMouseEnter(minutes);
    const QImage picture = window.grab().toImage();
    const QColor background = window.palette().color(QPalette::Window);
    EXPECT_EQ(picture.pixelColor(0, 0), background);
    for (QLabel* label : {picker.findChild<QLabel*>("lblHour"), minutes})
        EXPECT_GE(testing_support::strongestContrast(picture, label->geometry().translated(picker.pos()), background),
                  4.5)
            << label->objectName().toStdString();
}

} // namespace
