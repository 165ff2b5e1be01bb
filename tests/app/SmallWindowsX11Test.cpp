// The small dialogs on a real X server: the caption the window system shows is
// exactly the one the caller gave.
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "WindowManager.h"
#include "app/ApplicationName.h"
#include "app/GetTextDialog.h"
#include "app/InfoDialog.h"

namespace {

// The caption of the dialog that the call opens, as the X server holds it.
QString captionOf(QDialog& dialog, const std::function<void()>& open)
{
    QString caption;
    QTimer::singleShot(0, [&] {
        if (QTest::qWaitForWindowExposed(&dialog))
            caption = testing_support::windowProperty(dialog.winId(), "_NET_WM_NAME");
        dialog.reject();
    });
    open();
    return caption;
}

TEST(SmallWindowsX11, DialogCaptionsAreShownAsGiven)
{
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    nameApplication();
    TfrmInfoDialog info;
    EXPECT_EQ(captionOf(info, [&] { info.Execute("Import", "3 events were imported."); }),
              "_NET_WM_NAME(UTF8_STRING) = \"Import\"");
    TfrmGetText question;
    EXPECT_EQ(captionOf(question, [&] { question.Execute("Add Category", "Name:", ""); }),
              "_NET_WM_NAME(UTF8_STRING) = \"Add Category\"");
}

} // namespace
