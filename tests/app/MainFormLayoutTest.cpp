// The main window under a dark desktop theme with a large font: nothing drawn over
// anything else at its first size nor at its minimum size, on either filter page.
#include <QListWidget>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTabWidget>

#include "AppTestSupport.h"
#include "LayoutCheck.h"
#include "controls/CalendarX.h"

namespace {

using MainFormLayout = app_testing::MainWindowTest;

TEST_F(MainFormLayout, EverythingKeepsItsPlaceDownToTheMinimumSize)
{
    for (int pixels : testing_support::LargeFontPixels) {
        SCOPED_TRACE(std::to_string(pixels) + " px");
        testing_support::DarkLargeLook look(pixels);
        start();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        testing_support::savePicture(*window, QStringLiteral("main-window-%1px").arg(pixels));
        EXPECT_EQ(testing_support::layoutFaults(*window), "");
        EXPECT_EQ(window->pcFilters->height(), 170) << "the design's height where there is room";
        EXPECT_EQ(window->CalendarX1->size(), QSize(218, 180));

        window->resize(window->minimumSize());
        for (QWidget* page : {window->tsFilterCategory, window->tsFilterImportance}) {
            window->pcFilters->setCurrentWidget(page);
            QTest::qWait(1);
            EXPECT_EQ(window->size(), QSize(480, 200));
            testing_support::savePicture(
                *window, QStringLiteral("main-window-smallest-%1-%2px").arg(page->objectName()).arg(pixels));
            EXPECT_EQ(testing_support::layoutFaults(*window), "") << page->objectName().toStdString();
        }
    }
}

// The category list is white whatever the desktop's colours, so its names and the
// frames of its check boxes are dark on it, ticked or not.
TEST_F(MainFormLayout, TheCategoryListIsWhiteWithPlainBoxesAndNamesOnADarkDesktop)
{
    testing_support::DarkLargeLook look;
    start();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QListWidget* list = window->clstCategories;
    ASSERT_GE(list->count(), 2);
    list->item(0)->setCheckState(Qt::Checked);
    list->item(1)->setCheckState(Qt::Unchecked);
    testing_support::savePicture(*window->pcFilters, "categories");

    const QImage picture = list->viewport()->grab().toImage();
    const QColor white(Qt::white);
    EXPECT_EQ(picture.pixelColor(picture.width() - 1, picture.height() - 1), white) << "below the names";
    for (int row : {0, 1}) {
        QStyleOptionViewItem item;
        item.initFrom(list);
        item.rect = list->visualItemRect(list->item(row));
        item.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
        item.text = list->item(row)->text();
        item.checkState = list->item(row)->checkState();
        const QRect box = list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &item, list);
        const QRect name = list->style()->subElementRect(QStyle::SE_ItemViewItemText, &item, list);
        const QColor background = picture.pixelColor(item.rect.right(), item.rect.center().y());
        EXPECT_EQ(background, white) << row;
        EXPECT_GE(testing_support::strongestContrast(picture, box, background), 3.0) << "the box of row " << row;
        EXPECT_GE(testing_support::strongestContrast(picture, name, background), 4.5) << "the name of row " << row;
    }
}

} // namespace
