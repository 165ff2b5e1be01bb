// The time picker: its display, its hour and minute menus, its notifications, its
// link-like labels and its look.
#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

#include "ControlsTestSupport.h"
#include "TestSupport.h"
#include "controls/TimePicker.h"
#include "events/Exceptions.h"
#include "platform/gui/ErrorReport.h"

using controls_test::captions;
using controls_test::choose;
using controls_test::dismissOpenMenu;
using controls_test::inkBounds;
using controls_test::openMenu;
using controls_test::screenshot;
using testing_support::at;

namespace {

const QPoint AwayFromEveryWindow(3000, 3000);

QLabel* label(TTimePicker& picker, const char* name)
{
    return picker.findChild<QLabel*>(QLatin1String(name));
}
QMenu* menu(TTimePicker& picker, const char* name)
{
    return picker.findChild<QMenu*>(QLatin1String(name));
}

// hour|minutes|postfix
QString shown(TTimePicker& picker)
{
    return label(picker, "lblHour")->text() + QLatin1Char('|') + label(picker, "lblMin")->text() + QLatin1Char('|') +
           label(picker, "lblTimePostfix")->text();
}

QStringList numbers(int from, int to)
{
    QStringList result;
    for (int n = from; n <= to; ++n)
        result << QString::number(n);
    return result;
}

struct Shown {
    TTPTimeFormat format;
    int hour;
    int minute;
    const char* expected; // AM and PM stand for the system's designators
};

void PrintTo(const Shown& s, std::ostream* os)
{
    *os << s.hour << "h" << s.minute << " " << (s.format == tf24Hr ? 24 : 12);
}

class TimePickerDisplay : public ::testing::TestWithParam<Shown> {};

TEST_P(TimePickerDisplay, ShowsHourMinutesAndPostfix)
{
    const Shown s = GetParam();
    TTimePicker picker;
    picker.SetTimeFormat(s.format);
    int changes = 0;
    picker.OnTimeChanged = [&](QObject*) { ++changes; };
    picker.SetTime(at(2024, 5, 6, s.hour, s.minute, 42));
    QString expected = QString::fromLatin1(s.expected);
    expected.replace(QStringLiteral("AM"), QLocale::system().amText());
    expected.replace(QStringLiteral("PM"), QLocale::system().pmText());
    EXPECT_EQ(shown(picker), expected);
    EXPECT_EQ(picker.Time(), at(2024, 5, 6, s.hour, s.minute, 42));
    EXPECT_EQ(changes, 0) << "SetTime notifies nobody";
}

INSTANTIATE_TEST_SUITE_P(BothForms, TimePickerDisplay,
                         ::testing::Values(Shown{tf24Hr, 0, 7, "00|07|"}, Shown{tf12Hr, 0, 7, "12|07| AM"},
                                           Shown{tf24Hr, 13, 0, "13|00|"}, Shown{tf12Hr, 13, 0, "1|00| PM"},
                                           Shown{tf12Hr, 12, 59, "12|59| PM"}, Shown{tf12Hr, 11, 5, "11|05| AM"},
                                           Shown{tf24Hr, 9, 30, "09|30|"}, Shown{tf12Hr, 23, 10, "11|10| PM"}));

class TimePickerMenus : public ::testing::Test {
protected:
    void SetUp() override
    {
        picker.SetTimeFormat(tf24Hr);
        picker.SetTime(at(2024, 5, 6, 10, 0, 30));
        picker.OnTimeChanged = [this](QObject* sender) {
            EXPECT_EQ(sender, &picker);
            changes.push_back(picker.Time());
        };
        QCursor::setPos(AwayFromEveryWindow); // a mouse left over from an earlier test must not hover
        picker.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&picker));
    }
    void TearDown() override { dismissOpenMenu(); }

    void clickHour() { QTest::mouseClick(label(picker, "lblHour"), Qt::LeftButton, {}, QPoint(2, 2)); }
    void clickMinutes() { QTest::mouseClick(label(picker, "lblMin"), Qt::LeftButton, {}, QPoint(2, 2)); }
    bool looksLikeLink(const char* name)
    {
        QLabel* l = label(picker, name);
        return l->font().bold() && l->font().underline() &&
               l->palette().color(QPalette::WindowText) == QColor(0x00, 0x00, 0xFF);
    }

    TTimePicker picker;
    std::vector<TDateTime> changes;
};

TEST_F(TimePickerMenus, HourThenMinuteGivesTheTimeOnTheSameDate)
{
    clickHour();
    ASSERT_EQ(openMenu(), menu(picker, "pmnuHour"));
    EXPECT_EQ(captions(openMenu()), numbers(0, 23));
    choose(openMenu(), QStringLiteral("14"));

    ASSERT_EQ(openMenu(), menu(picker, "pmnuMin")) << "the minute menu follows";
    EXPECT_EQ(openMenu()->pos(), label(picker, "lblMin")->mapToGlobal(QPoint(0, 0)));
    EXPECT_EQ(captions(openMenu()), (QStringList{"0", "10", "20", "30", "40", "50"}));
    EXPECT_EQ(captions(openMenu()->actions()[5]->menu()), numbers(50, 59));
    choose(openMenu(), QStringLiteral("30/35"));

    EXPECT_EQ(openMenu(), nullptr);
    EXPECT_EQ(changes, (std::vector<TDateTime>{at(2024, 5, 6, 14, 0), at(2024, 5, 6, 14, 35)}));
    EXPECT_EQ(shown(picker), QStringLiteral("14|35|"));
}

TEST_F(TimePickerMenus, DismissingEitherMenuKeepsWhatWasChosen)
{
    clickHour();
    choose(openMenu(), QStringLiteral("7"));
    dismissOpenMenu();
    EXPECT_EQ(picker.Time(), at(2024, 5, 6, 7, 0));

    clickHour();
    dismissOpenMenu();
    ASSERT_EQ(openMenu(), menu(picker, "pmnuMin")) << "follows a dismissed hour menu too";
    choose(openMenu(), QStringLiteral("50/52"));
    EXPECT_EQ(picker.Time(), at(2024, 5, 6, 7, 52));
    EXPECT_EQ(changes.size(), 2u);
}

TEST_F(TimePickerMenus, EachLabelOpensOnlyItsOwnMenuWhenAsked)
{
    clickMinutes();
    ASSERT_EQ(openMenu(), menu(picker, "pmnuMin"));
    choose(openMenu(), QStringLiteral("10/15"));
    EXPECT_EQ(openMenu(), nullptr) << "no hour menu after the minutes";
    EXPECT_EQ(picker.Time(), at(2024, 5, 6, 10, 15, 30)) << "seconds kept";

    picker.SetAutoMinPopupAfterHour(false);
    clickHour();
    choose(openMenu(), QStringLiteral("23"));
    EXPECT_EQ(openMenu(), nullptr);
    EXPECT_EQ(picker.Time(), at(2024, 5, 6, 23, 0));
}

TEST_F(TimePickerMenus, TwelveHourMenuSplitsMorningAndAfternoon)
{
    picker.SetTimeFormat(tf12Hr);
    picker.SetAutoMinPopupAfterHour(false);
    EXPECT_EQ(captions(menu(picker, "pmnuHour")), (QStringList{"a.m.", "p.m."}));
    EXPECT_EQ(menu(picker, "pmnuMin")->findChildren<QMenu*>().size(), 6) << "rebuilt, not added to";
    const std::pair<const char*, int> choices[] = {{"a.m./12", 0},  {"a.m./1", 1},  {"a.m./11", 11},
                                                   {"p.m./12", 12}, {"p.m./1", 13}, {"p.m./11", 23}};
    for (const auto& [path, hour] : choices) {
        clickHour();
        choose(openMenu(), QString::fromLatin1(path));
        EXPECT_EQ(picker.Time(), at(2024, 5, 6, hour, 0)) << path;
    }
}

TEST_F(TimePickerMenus, OwnersFailureIsReportedAfterTheChange)
{
    QStringList reports;
    setMessageSinkForTests([&](const QString& message) { reports << message; });
    picker.OnTimeChanged = [](QObject*) { throw QuilletError(QStringLiteral("owner failed")); };
    picker.SetAutoMinPopupAfterHour(false);
    clickHour();
    choose(openMenu(), QStringLiteral("8"));
    setMessageSinkForTests(nullptr);
    EXPECT_EQ(reports, QStringList{QStringLiteral("owner failed")});
    EXPECT_EQ(shown(picker), QStringLiteral("08|00|"));
}

TEST_F(TimePickerMenus, LabelsLookLikeLinksWhileTheMouseIsOverThem)
{
    QTest::mouseMove(label(picker, "lblHour"), QPoint(3, 3));
    EXPECT_TRUE(looksLikeLink("lblHour"));
    QTest::mouseMove(label(picker, "lblMin"), QPoint(3, 3));
    EXPECT_FALSE(looksLikeLink("lblHour"));
    EXPECT_TRUE(looksLikeLink("lblMin"));

    // A new font reaches only the label the mouse is not over.
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(13);
    picker.SetFont(LabelFont{arial, QColor(0x40, 0x40, 0x40)});
    EXPECT_EQ(label(picker, "lblHour")->font().pixelSize(), 13);
    EXPECT_TRUE(looksLikeLink("lblMin"));

    // Leaving while a menu is open gives the label its font back.
    clickMinutes();
    QCursor::setPos(AwayFromEveryWindow);
    choose(openMenu(), QStringLiteral("20/20"));
    EXPECT_FALSE(looksLikeLink("lblMin"));
    EXPECT_EQ(label(picker, "lblMin")->font().pixelSize(), 13);
}

// The system locale is read once per process, so each locale runs in a child process
// of this test program, which checks the picker against what it is told to expect.
TEST(TimePickerSystemFormat, FollowsTheLocaleTheProgramStartedIn)
{
    const std::pair<const char*, const char*> cases[] = {
        {"en_US.UTF-8", "12:"}, {"de_DE.UTF-8", "24:"}, {"fi_FI.UTF-8", "24."}};
    for (const auto& [locale, expectation] : cases) {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(locale));
        environment.insert(QStringLiteral("QUILLET_PICKER_EXPECTS"), QString::fromLatin1(expectation));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=TimePickerInLocale.*"),
                                                              QStringLiteral("--gtest_also_run_disabled_tests")});
        ASSERT_TRUE(child.waitForFinished(60000)) << locale;
        const QString output = QString::fromLocal8Bit(child.readAll());
        EXPECT_EQ(child.exitCode(), 0) << locale << "\n" << output.toStdString();
        EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test."))) << output.toStdString();
    }
}

TEST(TimePickerInLocale, DISABLED_ShowsTheSystemsForm)
{
    const QString expects = qEnvironmentVariable("QUILLET_PICKER_EXPECTS");
    ASSERT_EQ(expects.size(), 3) << "run by TimePickerSystemFormat";
    TTimePicker picker;
    EXPECT_TRUE(menu(picker, "pmnuHour")->actions().isEmpty()) << "no menus before a format is assigned";
    picker.SetTimeFormat(tfSystem);
    picker.SetTime(at(2024, 5, 6, 13, 4));
    if (expects.startsWith(QStringLiteral("12"))) {
        EXPECT_EQ(captions(menu(picker, "pmnuHour")), (QStringList{"a.m.", "p.m."}));
        EXPECT_EQ(shown(picker), QStringLiteral("1|04| ") + QLocale::system().pmText());
    } else {
        EXPECT_EQ(captions(menu(picker, "pmnuHour")), numbers(0, 23));
        EXPECT_EQ(shown(picker), QStringLiteral("13|04|"));
    }
    EXPECT_EQ(label(picker, "lblTimeSep")->text(), expects.right(1));
}

// A picker dressed as the edit dialogs dress it, on a plain white window.
struct DressedPicker {
    DressedPicker(TTPTimeFormat format, TDateTime time)
    {
        window.resize(90, 24);
        window.setAutoFillBackground(true);
        window.setPalette(QPalette(Qt::black, Qt::white));
        QFont arial(QStringLiteral("Arial"));
        arial.setPixelSize(13);
        window.setFont(arial);
        picker->setGeometry(4, 4, 82, 16);
        picker->SetFont(LabelFont{arial, Qt::black});
        arial.setBold(true);
        arial.setUnderline(true);
        picker->SetMouseOverFont(LabelFont{arial, QColor(0x00, 0x00, 0xFF)});
        picker->SetTimeFormat(format);
        picker->SetTime(time);
        QCursor::setPos(AwayFromEveryWindow);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    // Where a label's text was drawn, by its colour.
    QRect ink(const QImage& image, const char* name)
    {
        QLabel* l = label(*picker, name);
        return inkBounds(image, QRect(l->mapTo(&window, QPoint(0, 0)), l->size()), Qt::white);
    }

    QWidget window;
    TTimePicker* picker = new TTimePicker(&window);
};

bool anyBlueIn(const QImage& image, const QRect& rect)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (qBlue(image.pixel(x, y)) > 200 && qRed(image.pixel(x, y)) < 60)
                return true;
    return false;
}

TEST(TimePickerLook, BothFormsReadLeftToRightWithALinkUnderTheMouse)
{
    DressedPicker form24(tf24Hr, at(2024, 5, 6, 14, 5));
    const QImage image24 = screenshot(form24.window, QStringLiteral("timepicker-24h"));
    EXPECT_TRUE(form24.ink(image24, "lblTimePostfix").isEmpty());
    form24.window.hide(); // out of the mouse's way

    DressedPicker form12(tf12Hr, at(2024, 5, 6, 14, 5));
    QTest::mouseMove(label(*form12.picker, "lblHour"), QPoint(2, 2));
    const QImage image12 = screenshot(form12.window, QStringLiteral("timepicker-12h-hover"));
    EXPECT_TRUE(anyBlueIn(image12, form12.ink(image12, "lblHour")));

    for (auto [image, dressed] : {std::pair{&image24, &form24}, std::pair{&image12, &form12}}) {
        const QRect h = dressed->ink(*image, "lblHour");
        const QRect sep = dressed->ink(*image, "lblTimeSep");
        const QRect min = dressed->ink(*image, "lblMin");
        ASSERT_FALSE(h.isEmpty() || sep.isEmpty() || min.isEmpty());
        EXPECT_LT(h.right(), sep.left());
        EXPECT_LT(sep.right(), min.left());
        EXPECT_FALSE(anyBlueIn(*image, min));
    }
    EXPECT_LT(form12.ink(image12, "lblMin").right(), form12.ink(image12, "lblTimePostfix").left());
}

} // namespace
