// The caption bar: toggling its linked control, and where its caption lands when
// turned.
#include <QFontMetrics>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "ControlsTestSupport.h"
#include "controls/DropDownControl.h"
#include "platform/gui/ErrorReport.h"

using controls_test::inkBounds;
using controls_test::sameColour;
using controls_test::screenshot;

namespace {

const QColor Face(0xEC, 0xE9, 0xD8);

// ---- Collapsing and expanding ------------------------------------------------------

class DropDownXToggle : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(200, 100);
        bar->setGeometry(0, 0, 200, 18);
        linked->setGeometry(0, 20, 200, 80);
        bar->SetControl(linked);
        bar->OnCollapsed = [this](QObject* sender) {
            EXPECT_EQ(sender, bar);
            log.push_back("collapsed");
        };
        bar->OnUncollapsed = [this](QObject*) { log.push_back("uncollapsed"); };
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void click(Qt::MouseButton button = Qt::LeftButton) { QTest::mouseClick(bar, button, {}, QPoint(50, 9)); }

    QWidget window;
    TDropDownX* bar = new TDropDownX(&window);
    QLabel* linked = new QLabel(QStringLiteral("filters"), &window);
    std::vector<std::string> log;
};

TEST_F(DropDownXToggle, EachClickTogglesTheLinkedControlAndNotifiesOnce)
{
    EXPECT_FALSE(bar->Collapsed());
    EXPECT_EQ(bar->GetCaption(), QStringLiteral("Uncollapsed"));
    click();
    EXPECT_TRUE(bar->Collapsed());
    EXPECT_FALSE(linked->isVisible());
    EXPECT_EQ(bar->GetCaption(), QStringLiteral("Collapsed"));
    click();
    EXPECT_FALSE(bar->Collapsed());
    EXPECT_TRUE(linked->isVisible());
    EXPECT_EQ(log, (std::vector<std::string>{"collapsed", "uncollapsed"}));
}

TEST_F(DropDownXToggle, AssigningTheCurrentStateChangesNothing)
{
    bar->SetCollapsed(false);
    EXPECT_TRUE(log.empty());
    bar->SetCollapsed(true);
    bar->SetCollapsed(true);
    EXPECT_EQ(log, (std::vector<std::string>{"collapsed"}));
    EXPECT_FALSE(linked->isVisible());
}

TEST_F(DropDownXToggle, OnlyACompletedLeftClickCounts)
{
    click(Qt::RightButton);
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(50, 9));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(50, 60)); // released off the bar
    EXPECT_FALSE(bar->Collapsed());

    // A double click is one click: its second press starts no other.
    click();
    QTest::mouseDClick(bar, Qt::LeftButton, {}, QPoint(50, 9));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(50, 9));
    EXPECT_TRUE(bar->Collapsed());
    EXPECT_EQ(log, (std::vector<std::string>{"collapsed"}));
}

TEST_F(DropDownXToggle, WithoutAControlOnlyTheStateToggles)
{
    bar->SetControl(nullptr);
    click();
    click();
    click();
    EXPECT_TRUE(bar->Collapsed());
    EXPECT_TRUE(linked->isVisible());
    EXPECT_EQ(log, (std::vector<std::string>{"collapsed", "uncollapsed", "collapsed"}));
}

TEST_F(DropDownXToggle, LinkingAControlLeavesItsVisibilityAlone)
{
    bar->SetControl(nullptr);
    click();
    bar->SetControl(linked);
    EXPECT_TRUE(linked->isVisible());
    click();
    EXPECT_TRUE(linked->isVisible());
    click();
    EXPECT_FALSE(linked->isVisible());
}

TEST_F(DropDownXToggle, OwnersFailureIsReportedAfterTheToggle)
{
    QStringList reports;
    setMessageSinkForTests([&](const QString& message) { reports << message; });
    bar->OnCollapsed = [](QObject*) { throw std::runtime_error("layout failed"); };
    click();
    setMessageSinkForTests(nullptr);
    EXPECT_EQ(reports, QStringList{QStringLiteral("layout failed")});
    EXPECT_TRUE(bar->Collapsed());
    EXPECT_FALSE(linked->isVisible());
}

TEST_F(DropDownXToggle, OutlivesItsControl)
{
    delete linked;
    click();
    EXPECT_TRUE(bar->Collapsed());
}

// ---- Where the caption lands --------------------------------------------------------

QFont captionFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    return font;
}

// A bar on its own, in the caption bar's colours.
std::unique_ptr<TDropDownX> makeBar(QSize size, TDropDownTextRotate rotation, const QString& caption)
{
    auto bar = std::make_unique<TDropDownX>();
    bar->resize(size);
    bar->setFont(captionFont());
    bar->SetColor(Face);
    bar->SetCaptionRotation(rotation);
    bar->SetUncollapsedCaption(caption);
    return bar;
}

struct Turn {
    TDropDownTextRotate rotation;
    QSize size;
    const char* name;
};

void PrintTo(const Turn& t, std::ostream* os)
{
    *os << t.name;
}

class DropDownXCaption : public ::testing::TestWithParam<Turn> {
protected:
    // The caption's cell on the bar: centred, with its sides swapped when turned a quarter.
    static QRect expectedCell(const Turn& t, const QString& caption)
    {
        const QFontMetrics metrics(captionFont());
        const int cx = metrics.horizontalAdvance(caption);
        const int cy = metrics.height();
        const int w = t.size.width();
        const int h = t.size.height();
        switch (t.rotation) {
        case TDropDownTextRotate::Zero:
            return QRect((w - cx) / 2, (h - cy) / 2, cx, cy);
        case TDropDownTextRotate::Ninety:
            return QRect((w - cy) / 2, (h + cx) / 2 - cx, cy, cx);
        case TDropDownTextRotate::OneEighty:
            return QRect((w + cx) / 2 - cx, (h + cy) / 2 - cy, cx, cy);
        case TDropDownTextRotate::TwoSeventy:
            return QRect((w + cy) / 2 - cy, (h - cx) / 2, cy, cx);
        }
        return {};
    }
};

TEST_P(DropDownXCaption, IsCentredInItsTurnedCell)
{
    const Turn t = GetParam();
    const QString caption = QStringLiteral("Click to hide side panel");
    auto bar = makeBar(t.size, t.rotation, caption);
    const QImage image = screenshot(*bar, QStringLiteral("dropdown-") + QString::fromLatin1(t.name));

    const QRect ink = inkBounds(image, image.rect(), Face);
    const QRect cell = expectedCell(t, caption);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(cell.adjusted(-1, -1, 1, 1).contains(ink)) << "ink outside the caption's cell";
    EXPECT_NEAR(ink.center().x(), image.width() / 2, 3);
    EXPECT_NEAR(ink.center().y(), image.height() / 2, 3);
}

// A caption of one letter and spaces shows where reading starts.
TEST_P(DropDownXCaption, StartsReadingWhereItsTurnSays)
{
    const Turn t = GetParam();
    const QString caption = QStringLiteral("I") + QString(12, QLatin1Char(' '));
    auto bar = makeBar(t.size, t.rotation, caption);
    const QImage image = bar->grab().toImage();
    const QRect ink = inkBounds(image, image.rect(), Face);
    const QRect cell = expectedCell(t, caption);
    ASSERT_FALSE(ink.isEmpty());
    const int quarter = std::max(cell.width(), cell.height()) / 4;
    switch (t.rotation) {
    case TDropDownTextRotate::Zero:
        EXPECT_LT(ink.left() - cell.left(), quarter) << "left to right";
        break;
    case TDropDownTextRotate::Ninety:
        EXPECT_LT(cell.bottom() - ink.bottom(), quarter) << "bottom to top";
        break;
    case TDropDownTextRotate::OneEighty:
        EXPECT_LT(cell.right() - ink.right(), quarter) << "upside down, right to left";
        break;
    case TDropDownTextRotate::TwoSeventy:
        EXPECT_LT(ink.top() - cell.top(), quarter) << "top to bottom";
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(EachTurn, DropDownXCaption,
                         ::testing::Values(Turn{TDropDownTextRotate::Zero, QSize(234, 18), "Zero"},
                                           Turn{TDropDownTextRotate::Ninety, QSize(18, 300), "Ninety"},
                                           Turn{TDropDownTextRotate::OneEighty, QSize(234, 18), "OneEighty"},
                                           Turn{TDropDownTextRotate::TwoSeventy, QSize(18, 300), "TwoSeventy"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DropDownXAlignment, PlacesOnlyAnUnturnedCaption)
{
    auto bar = makeBar(QSize(234, 18), TDropDownTextRotate::Zero, QStringLiteral("Click to show filters"));
    bar->SetCaptionAlignment(taLeftJustify);
    EXPECT_LE(inkBounds(bar->grab().toImage(), bar->rect(), Face).left(), 2);
    bar->SetCaptionAlignment(taRightJustify);
    EXPECT_GE(inkBounds(bar->grab().toImage(), bar->rect(), Face).right(), 231);

    auto turned = makeBar(QSize(18, 300), TDropDownTextRotate::Ninety, QStringLiteral("Click to show side panel"));
    const QImage centred = turned->grab().toImage();
    turned->SetCaptionAlignment(taRightJustify);
    EXPECT_EQ(turned->grab().toImage(), centred);
}

TEST(DropDownXAlignment, TooLongACaptionIsCutAtBothEnds)
{
    auto bar = makeBar(QSize(60, 18), TDropDownTextRotate::Zero, QStringLiteral("Click to hide side panel"));
    const QRect ink = inkBounds(bar->grab().toImage(), bar->rect(), Face);
    EXPECT_EQ(ink.left(), 0);
    EXPECT_EQ(ink.right(), 59);
}

// ---- The background ---------------------------------------------------------------

TEST(DropDownXBackground, PictureCoversTheColour)
{
    auto bar = makeBar(QSize(18, 300), TDropDownTextRotate::Ninety, QStringLiteral("Click to hide side panel"));
    const QColor Picture(0xA6, 0xCA, 0xF0);
    QPixmap picture(4, 4);
    picture.fill(Picture);
    QPixmap other(4, 4);
    other.fill(Qt::green);
    bar->SetImageList({other, picture});
    bar->SetBackgroundImageIndex(1);
    const QImage image = screenshot(*bar, QStringLiteral("dropdown-picture"));
    EXPECT_TRUE(sameColour(image.pixel(0, 0), Picture));
    EXPECT_TRUE(sameColour(image.pixel(17, 299), Picture)) << "stretched over the whole bar";
    EXPECT_FALSE(inkBounds(image, image.rect(), Picture).isEmpty()) << "the caption is on top";

    bar->SetImageList({});
    EXPECT_TRUE(sameColour(bar->grab().toImage().pixel(0, 0), Face));
}

} // namespace
