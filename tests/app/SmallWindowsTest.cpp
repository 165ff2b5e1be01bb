// The splash, the About box and the two small dialogs, driven as a user would.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "ShellTestSupport.h"
#include "app/About.h"
#include "app/FileVersion.h"
#include "app/GetTextDialog.h"
#include "app/InfoDialog.h"
#include "app/Splash.h"

using shell_test::screenshot;
using shell_test::waitFor;

namespace {

// Runs action once the dialog that is about to open is on show.
void whenShown(std::function<void(QWidget*)> action)
{
    QTimer::singleShot(0, [action] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_TRUE(dialog);
        action(dialog);
    });
}

QString programVersion(const char* Template)
{
    return FormatFileVersion(QString::fromUtf8(Template), ProgramFileVersion());
}

} // namespace

TEST(Splash, StaysForItsMinimumTimeThenItsTimerHidesIt)
{
    ShowSplash(300, QStringLiteral("9.8.7"));
    EXPECT_TRUE(SplashVisible());
    EXPECT_FALSE(SplashTimeElapsed());
    EXPECT_EQ(frmSplash()->Label1->text(), QStringLiteral("Version: 9.8.7"));
    EXPECT_EQ(frmSplash()->height() - frmSplash()->Label1->geometry().bottom() - 1, 75);
    screenshot(*frmSplash(), QStringLiteral("splash"));

    // HideSplash waits out the rest of the minimum time.
    QElapsedTimer waited;
    waited.start();
    HideSplash();
    EXPECT_GE(waited.elapsed(), 250);
    EXPECT_FALSE(SplashVisible());
    EXPECT_TRUE(SplashTimeElapsed());

    // Left alone, the splash goes at the first timer tick after the minimum time.
    ShowSplash(100, QString());
    EXPECT_EQ(frmSplash()->Label1->text(), QStringLiteral("Version: "));
    EXPECT_TRUE(frmSplash()->Timer1->isActive());
    EXPECT_TRUE(waitFor([] { return !SplashVisible(); }, 3000));
    EXPECT_FALSE(frmSplash()->Timer1->isActive());
}

TEST(AboutBox, ShowsNameVersionAndLinks)
{
    TfrmAbout about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Quillet"));
    EXPECT_EQ(about.lblApplicationName->text(), QStringLiteral("Quillet"));
    EXPECT_EQ(about.lblVersion->text(), QStringLiteral("Version:  ") + programVersion("@A.@B.@C, Build:  @D"));
    EXPECT_TRUE(about.lblWrittenBy->text().startsWith(QStringLiteral("Written by: ")));

    whenShown([](QWidget* dialog) {
        screenshot(*dialog, QStringLiteral("about"));
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    EXPECT_TRUE(about.Execute());
}

TEST(GetTextDialog, DoneAndCancelBothLeaveTheAnswerReadable)
{
    TfrmGetText dialog;
    whenShown([](QWidget* shown) {
        auto* edit = shown->findChild<QLineEdit*>(QStringLiteral("edtAnswer"));
        EXPECT_EQ(shown->focusWidget(), edit);
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("Travel & Leisure"));
        screenshot(*shown, QStringLiteral("get-text"));
        QTest::mouseClick(shown->findChild<QPushButton*>(QStringLiteral("btnCancel")), Qt::LeftButton);
    });
    EXPECT_FALSE(
        dialog.Execute(QStringLiteral("Add Category"), QStringLiteral("Enter new category:"), QStringLiteral("old")));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Add Category"));
    EXPECT_EQ(dialog.lblQuestion->text(), QStringLiteral("Enter new category:"));
    EXPECT_EQ(dialog.GetAnswer(), QStringLiteral("Travel & Leisure"));

    // Enter confirms with Done; the answer keeps its blanks.
    whenShown([](QWidget* shown) {
        auto* edit = shown->findChild<QLineEdit*>(QStringLiteral("edtAnswer"));
        EXPECT_EQ(edit->text(), QStringLiteral("Work"));
        QTest::keyClicks(edit, QStringLiteral("  "));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    EXPECT_TRUE(
        dialog.Execute(QStringLiteral("Edit Category"), QStringLiteral("Modify category:"), QStringLiteral("Work")));
    EXPECT_EQ(dialog.GetAnswer(), QStringLiteral("Work  "));
}

TEST(InfoDialog, ShowsTheCallersTextsAsTheyAre)
{
    TfrmInfoDialog dialog;
    whenShown([](QWidget* shown) {
        screenshot(*shown, QStringLiteral("info"));
        QTest::mouseClick(shown->findChild<QPushButton*>(QStringLiteral("btnOk")), Qt::LeftButton);
    });
    EXPECT_TRUE(dialog.Execute(QStringLiteral("Import Results"), QStringLiteral("3 new events imported & sorted")));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Import Results"));
    EXPECT_EQ(dialog.stxtMessage->text(), QStringLiteral("3 new events imported & sorted"));

    whenShown([](QWidget* shown) { QTest::keyClick(shown, Qt::Key_Escape); });
    EXPECT_FALSE(dialog.Execute(QStringLiteral("Closed"), QStringLiteral("with Escape")));
}
