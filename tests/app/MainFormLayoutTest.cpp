// The main window under a dark desktop theme with a large font: nothing drawn over
// anything else at its first size nor at its minimum size, on either filter page.
#include <QTabWidget>

#include "AppTestSupport.h"
#include "LayoutCheck.h"
#include "controls/CalendarX.h"

namespace {

using MainFormLayout = app_testing::MainWindowTest;

TEST_F(MainFormLayout, EverythingKeepsItsPlaceDownToTheMinimumSize)
{
    testing_support::DarkLargeLook look;
    start();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    testing_support::savePicture(*window, "main-window");
    EXPECT_EQ(testing_support::layoutFaults(*window), "");
    EXPECT_EQ(window->pcFilters->height(), 170) << "the design's height where there is room";
    EXPECT_EQ(window->CalendarX1->size(), QSize(218, 180));

    window->resize(window->minimumSize());
    for (QWidget* page : {window->tsFilterCategory, window->tsFilterImportance}) {
        window->pcFilters->setCurrentWidget(page);
        QTest::qWait(1);
        EXPECT_EQ(window->size(), QSize(480, 200));
        testing_support::savePicture(*window, "main-window-smallest-" + page->objectName());
        EXPECT_EQ(testing_support::layoutFaults(*window), "") << page->objectName().toStdString();
    }
}

} // namespace
