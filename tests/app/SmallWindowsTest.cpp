// The About box, the information dialog and the text-input dialog keep their
// widgets in place under a dark desktop theme with a large font.
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
    testing_support::DarkLargeLook look;
    TfrmAbout about;
    checkWhileShown(about, "about");
    about.Execute();

    TfrmInfoDialog info;
    checkWhileShown(info, "information");
    info.Execute("Quillet", "The event file could not be read, so it was left as it is and nothing was "
                            "written over it. Its reason: permission denied.");

    // The information dialog has no picture, so its message starts at its left margin.
    TfrmInfoDialog plain;
    QTimer::singleShot(0, &plain, [&plain] {
        EXPECT_FALSE(plain.Image1->isVisible());
        EXPECT_EQ(plain.stxtMessage->x(), plain.layout()->contentsMargins().left());
        plain.accept();
    });
    plain.Execute("Quillet", "12 events were imported.");

    TfrmGetText question;
    checkWhileShown(question, "text-input");
    question.Execute("Rename Category", "Enter the new name of the category:", "General");
}

} // namespace
