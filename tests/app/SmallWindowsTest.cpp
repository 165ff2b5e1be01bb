// The small windows keep their widgets in place under a dark theme with a large font.
#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "LayoutCheck.h"
#include "app/About.h"
#include "app/GetTextDialog.h"
#include "app/InfoDialog.h"
#include "app/Splash.h"

namespace {

// Checks the dialog once its modal loop shows it, then closes it.
template <class Dialog> void checkWhileShown(Dialog& dialog, const QString& name)
{
    QTimer::singleShot(0, &dialog, [&dialog, name] {
        testing_support::savePicture(dialog, name);
        EXPECT_EQ(testing_support::layoutFaults(dialog), "") << name.toStdString();
        dialog.accept();
    });
}

TEST(SmallWindows, KeepTheirWidgetsInPlaceUnderADarkLargeLook)
{
    for (int pixels : testing_support::LargeFontPixels) {
        SCOPED_TRACE(std::to_string(pixels) + " px");
        testing_support::DarkLargeLook look(pixels);
        TfrmAbout about;
        checkWhileShown(about, "about");
        about.Execute();

        TfrmInfoDialog info;
        checkWhileShown(info, "information");
        info.Execute("Quillet", "The event file could not be read, so it was left as it is and nothing was "
                                "written over it. Its reason: permission denied.");

        // The picture's 48 x 48 place stays beside the message, empty.
        TfrmInfoDialog plain;
        QTimer::singleShot(0, &plain, [&plain] {
            EXPECT_TRUE(plain.Image1->isVisible());
            EXPECT_TRUE(plain.Image1->pixmap().isNull());
            EXPECT_EQ(plain.Image1->geometry(),
                      QRect(plain.layout()->contentsMargins().left(), plain.layout()->contentsMargins().top(), 48, 48));
            EXPECT_GE(plain.stxtMessage->x(), plain.Image1->geometry().right() + 1 + 6) << "the message starts past it";
            plain.accept();
        });
        plain.Execute("Quillet", "12 events were imported.");

        TfrmGetText question;
        checkWhileShown(question, "text-input");
        question.Execute("Rename Category", "Enter the new name of the category:", "General");

        // The splash keeps its own font and colours: its version line stays on the picture.
        TfrmSplash splash;
        splash.Label1->setText("Version: 10.20.300.4000");
        splash.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash));
        testing_support::savePicture(splash, "splash");
        EXPECT_EQ(testing_support::layoutFaults(splash, {{"Image1", "Label1"}}), "");
    }
}

} // namespace
