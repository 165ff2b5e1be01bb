// The caption bar: toggling its linked control, and where its caption lands when
// turned.
#include <QFontMetrics>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ControlsTestSupport.h"
#include "controls/DropDownControl.h"
#include "platform/gui/ErrorReport.h"

using controls_test::inkBounds;
using controls_test::sameColour;
using controls_test::screenshot;
using Log = std::vector<std::string>;

namespace {

const QColor Face(0xEC, 0xE9, 0xD8);

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
    Log log;
};

TEST_F(DropDownXToggle, EachClickTogglesTheLinkedControlAndNotifiesOnce)
{
    EXPECT_EQ(bar->GetCaption(), QStringLiteral("Uncollapsed"));
    click();
    EXPECT_FALSE(linked->isVisible());
    EXPECT_EQ(bar->GetCaption(), QStringLiteral("Collapsed"));
    bar->SetCollapsed(true); // the state it has: nothing happens
    click();
    EXPECT_TRUE(linked->isVisible());
    EXPECT_FALSE(bar->Collapsed());
    EXPECT_EQ(log, (Log{"collapsed", "uncollapsed"}));
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
    EXPECT_EQ(log, (Log{"collapsed"}));
}

TEST_F(DropDownXToggle, TheLinkedControlIsOptionalAndNotOwned)
{
    bar->SetControl(nullptr);
    click();
    EXPECT_TRUE(bar->Collapsed());
    EXPECT_TRUE(linked->isVisible());
    bar->SetControl(linked); // the state is not applied on linking
    EXPECT_TRUE(linked->isVisible());
    click();
    click();
    EXPECT_FALSE(linked->isVisible());
    delete linked;
    click();
    EXPECT_EQ(log, (Log{"collapsed", "uncollapsed", "collapsed", "uncollapsed"}));
}

TEST_F(DropDownXToggle, OwnersFailureIsReportedAfterTheToggle)
{
    QStringList reports;
    setMessageSinkForTests([&](const QString& message) { reports << message; });
    bar->OnCollapsed = [](QObject*) { throw std::runtime_error("layout failed"); };
    click();
    setMessageSinkForTests(nullptr);
    EXPECT_EQ(reports, QStringList{QStringLiteral("layout failed")});
    EXPECT_FALSE(linked->isVisible());
}

QFont captionFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    return font;
}

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
    // The caption's cell on the bar: centred, its sides swapped by a quarter turn.
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
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(expectedCell(t, caption).adjusted(-1, -1, 1, 1).contains(ink));
    EXPECT_NEAR(ink.center().x(), image.width() / 2, 3);
    EXPECT_NEAR(ink.center().y(), image.height() / 2, 3);
}

// One letter and spaces show where reading starts.
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
    const int distanceFromStart = t.rotation == TDropDownTextRotate::Zero        ? ink.left() - cell.left()
                                  : t.rotation == TDropDownTextRotate::Ninety    ? cell.bottom() - ink.bottom()
                                  : t.rotation == TDropDownTextRotate::OneEighty ? cell.right() - ink.right()
                                                                                 : ink.top() - cell.top();
    EXPECT_LT(distanceFromStart, quarter);
}

INSTANTIATE_TEST_SUITE_P(EachTurn, DropDownXCaption,
                         ::testing::Values(Turn{TDropDownTextRotate::Zero, QSize(234, 18), "Zero"},
                                           Turn{TDropDownTextRotate::Ninety, QSize(18, 300), "Ninety"},
                                           Turn{TDropDownTextRotate::OneEighty, QSize(234, 18), "OneEighty"},
                                           Turn{TDropDownTextRotate::TwoSeventy, QSize(18, 300), "TwoSeventy"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DropDownXLook, AlignmentPlacesOnlyAnUnturnedCaption)
{
    auto bar = makeBar(QSize(234, 18), TDropDownTextRotate::Zero, QStringLiteral("Click to show filters"));
    bar->SetCaptionAlignment(taLeftJustify);
    EXPECT_LE(inkBounds(bar->grab().toImage(), bar->rect(), Face).left(), 2);
    bar->SetCaptionAlignment(taRightJustify);
    EXPECT_GE(inkBounds(bar->grab().toImage(), bar->rect(), Face).right(), 231);
    bar->resize(60, 18); // too narrow: cut at both ends
    bar->SetCaptionAlignment(taCenter);
    const QRect cut = inkBounds(bar->grab().toImage(), bar->rect(), Face);
    EXPECT_EQ(cut.left(), 0);
    EXPECT_EQ(cut.right(), 59);

    auto turned = makeBar(QSize(18, 300), TDropDownTextRotate::Ninety, QStringLiteral("Click to show side panel"));
    const QImage centred = turned->grab().toImage();
    turned->SetCaptionAlignment(taRightJustify);
    EXPECT_EQ(turned->grab().toImage(), centred);
}

TEST(DropDownXLook, PictureCoversTheColour)
{
    auto bar = makeBar(QSize(18, 300), TDropDownTextRotate::Ninety, QStringLiteral("Click to hide side panel"));
    const QColor picture(0xA6, 0xCA, 0xF0);
    QPixmap chosen(4, 4), other(4, 4);
    chosen.fill(picture);
    other.fill(Qt::green);
    bar->SetImageList({other, chosen});
    bar->SetBackgroundImageIndex(1);
    const QImage image = screenshot(*bar, QStringLiteral("dropdown-picture"));
    EXPECT_TRUE(sameColour(image.pixel(0, 0), picture));
    EXPECT_TRUE(sameColour(image.pixel(17, 299), picture)) << "stretched over the whole bar";
    EXPECT_FALSE(inkBounds(image, image.rect(), picture).isEmpty()) << "the caption is on top";
    bar->SetImageList({});
    EXPECT_TRUE(sameColour(bar->grab().toImage().pixel(0, 0), Face));
}

} // namespace
