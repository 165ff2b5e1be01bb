// The caption bar: toggling its linked control, and how it turns its caption.
#include <QApplication>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <tuple>

#include "ControlsTestSupport.h"
#include "LayoutCheck.h"
#include "controls/DropDownControl.h"

using namespace controls_test;

namespace {

// A bar and the control it hides; its notifications go to log.
class DropDownXTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bar.resize(200, 18);
        bar.SetControl(linked.get());
        bar.OnCollapsed = [this](QObject* s) { log.push_back(s == &bar ? "collapsed" : "wrong sender"); };
        bar.OnUncollapsed = [this](QObject*) { log.push_back("uncollapsed"); };
        linked->show();
        bar.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    }
    void click(Qt::MouseButton button = Qt::LeftButton) { QTest::mouseClick(&bar, button, {}, QPoint(50, 9)); }

    TDropDownX bar;
    std::unique_ptr<QLabel> linked = std::make_unique<QLabel>(QStringLiteral("filters"));
    Log log;
};

TEST_F(DropDownXTest, EachCompletedLeftClickTogglesTheLinkedControlOnce)
{
    click();
    EXPECT_FALSE(linked->isVisible());
    bar.SetCollapsed(true); // the state it has: no notification
    click(Qt::RightButton);
    QTest::mousePress(&bar, Qt::LeftButton, {}, QPoint(50, 9));
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(50, 60)); // released off the bar

    // A double click is one click: its second press starts no other.
    click();
    QTest::mouseDClick(&bar, Qt::LeftButton, {}, QPoint(50, 9));
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(50, 9));
    EXPECT_TRUE(linked->isVisible());
    EXPECT_EQ(log, (Log{"collapsed", "uncollapsed"}));
}

TEST_F(DropDownXTest, OwnersFailureIsReportedAndTheControlMayGoFirst)
{
    ReportCollector reports;
    bar.OnCollapsed = [](QObject*) { throw std::runtime_error("layout failed"); };
    click();
    EXPECT_EQ(reports.texts, QStringList{QStringLiteral("layout failed")});
    EXPECT_FALSE(linked->isVisible()) << "hidden before the owner was told";
    linked.reset();
    click();
    EXPECT_FALSE(bar.Collapsed());
}

// Centred on the bar; a letter followed by spaces shows from which end it reads
// (start: the direction from the bar's centre to there).
TEST_F(DropDownXTest, CaptionIsCentredAndReadsFromItsTurnsEnd)
{
    const std::tuple<TDropDownTextRotate, QSize, QPoint, const char*> turns[] = {
        {TDropDownTextRotate::Zero, QSize(234, 18), QPoint(-1, 0), "zero"},
        {TDropDownTextRotate::Ninety, QSize(18, 300), QPoint(0, 1), "ninety"},
        {TDropDownTextRotate::OneEighty, QSize(234, 18), QPoint(1, 0), "one-eighty"},
        {TDropDownTextRotate::TwoSeventy, QSize(18, 300), QPoint(0, -1), "two-seventy"}};
    for (const auto& [rotation, size, start, name] : turns) {
        bar.resize(size);
        bar.SetCaptionRotation(rotation);
        bar.SetUncollapsedCaption(QStringLiteral("Click to hide side panel"));
        const QImage image = screenshot(bar, QStringLiteral("dropdown-") + name);
        const QPoint offCentre = inkBounds(image, image.rect(), image.pixel(0, 0)).center() - image.rect().center();
        EXPECT_LE(offCentre.manhattanLength(), 4) << name;
        bar.SetUncollapsedCaption(QStringLiteral("I") + QString(20, ' '));
        const QImage letter = bar.grab().toImage();
        const QPoint fromCentre =
            inkBounds(letter, letter.rect(), letter.pixel(0, 0)).center() - letter.rect().center();
        EXPECT_GT(QPoint::dotProduct(fromCentre, start), 20) << name;
    }
}

// The caption reads after the desktop turns dark under a running bar, and on an owner's colour.
TEST_F(DropDownXTest, TheCaptionReadsAfterTheDesktopTurnsDarkAndOnAChosenColour)
{
    bar.SetUncollapsedCaption(QStringLiteral("Click to hide filters"));
    testing_support::DarkLargeLook look;
    QApplication::processEvents(); // the change reaches the running bar
    const auto expectReadable = [this](const QColor& background, const QString& name) {
        const QImage picture = bar.grab().toImage();
        EXPECT_EQ(picture.pixelColor(0, 0), background) << name.toStdString();
        EXPECT_GE(testing_support::strongestContrast(picture, picture.rect(), background), 4.5) << name.toStdString();
    };
    expectReadable(QApplication::palette().color(QPalette::Button), "dropdown-dark");
    bar.SetColor(Qt::white);
    expectReadable(Qt::white, "dropdown-dark-on-white");
}

} // namespace
