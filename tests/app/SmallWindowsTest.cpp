// The splash, the About box and the two small dialogs, driven as a user would, and
// the version and file-name texts they use.
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "AppTestSupport.h"
#include "app/About.h"
#include "app/FileVersion.h"
#include "app/GetTextDialog.h"
#include "app/InfoDialog.h"
#include "app/Splash.h"

using app_testing::screenshot;

namespace {

// Runs action once the dialog that is about to open is on show.
void whenShown(const std::function<void(QWidget&)>& action)
{
    QTimer::singleShot(0, [action] { action(*QApplication::activeModalWidget()); });
}

TEST(Splash, StaysForItsMinimumTimeThenItsTimerHidesIt)
{
    ShowSplash(300, "9.8.7");
    EXPECT_TRUE(SplashVisible());
    EXPECT_FALSE(SplashTimeElapsed());
    EXPECT_EQ(frmSplash()->Label1->text(), "Version: 9.8.7");
    screenshot(*frmSplash(), "splash");

    // HideSplash waits out the rest of the minimum time.
    QElapsedTimer waited;
    waited.start();
    HideSplash();
    EXPECT_GE(waited.elapsed(), 250);
    EXPECT_FALSE(SplashVisible());
    EXPECT_TRUE(SplashTimeElapsed());

    // Left alone, the splash goes at the first timer tick after the minimum time.
    ShowSplash(100, "");
    EXPECT_TRUE(QTest::qWaitFor([] { return !SplashVisible(); }, 3000));
    EXPECT_FALSE(frmSplash()->Timer1->isActive());
}

TEST(AboutBox, ShowsTheCompiledInVersion)
{
    TfrmAbout about;
    EXPECT_EQ(about.lblVersion->text(), "Version:  " + FormatFileVersion("@A.@B.@C, Build:  @D", ProgramFileVersion()));
    whenShown([](QWidget& dialog) {
        screenshot(dialog, "about");
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    EXPECT_TRUE(about.Execute());
}

TEST(GetTextDialog, DoneAndCancelBothLeaveTheAnswerAsTyped)
{
    TfrmGetText dialog;
    whenShown([&](QWidget& shown) {
        EXPECT_EQ(shown.focusWidget(), dialog.edtAnswer);
        dialog.edtAnswer->selectAll();
        QTest::keyClicks(dialog.edtAnswer, "Travel & Leisure");
        screenshot(shown, "get-text");
        QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
    });
    EXPECT_FALSE(dialog.Execute("Add Category", "Enter new category:", "old"));
    EXPECT_EQ(dialog.GetAnswer(), "Travel & Leisure");

    whenShown([&](QWidget&) {
        QTest::keyClicks(dialog.edtAnswer, "  ");
        QTest::keyClick(dialog.edtAnswer, Qt::Key_Return);
    });
    EXPECT_TRUE(dialog.Execute("Edit Category", "Modify category:", "Work"));
    EXPECT_EQ(dialog.GetAnswer(), "Work  ");
}

TEST(InfoDialog, ShowsTheCallersTextsAsTheyAre)
{
    TfrmInfoDialog dialog;
    whenShown([&](QWidget& shown) {
        screenshot(shown, "info");
        QTest::mouseClick(dialog.btnOk, Qt::LeftButton);
    });
    EXPECT_TRUE(dialog.Execute("Import Results", "3 new events imported & sorted"));
    EXPECT_EQ(dialog.stxtMessage->text(), "3 new events imported & sorted");

    whenShown([](QWidget& shown) { QTest::keyClick(&shown, Qt::Key_Escape); });
    EXPECT_FALSE(dialog.Execute("Closed", "with Escape"));
}

TEST(GetFileVersionString, FillsThePlaceholdersForTheProgramFileOnly)
{
    const std::pair<const char*, const char*> templates[] = {
        {"@A.@B.@C", "3.4.5"},
        {"@A.@B.@C, Build:  @D", "3.4.5, Build:  67"},
        {"@a.@b.@c.@d", "3.4.5.67"},
        {"v@A@A-@D", "v33-67"},
        {"@E @", "@E @"},
    };
    for (const auto& [text, expected] : templates)
        EXPECT_EQ(FormatFileVersion(text, TFileVersion{3, 4, 5, 67}), expected) << text;

    const TFileVersion compiledIn = ProgramFileVersion();
    const QString program = QCoreApplication::applicationFilePath();
    EXPECT_EQ(GetFileVersionString(program, "@A.@B.@C"),
              QString("%1.%2.%3").arg(compiledIn.Major).arg(compiledIn.Minor).arg(compiledIn.Release));
    // The same file reached through a link is still the program.
    QTemporaryDir folder;
    ASSERT_TRUE(QFile::link(program, folder.filePath("linked-program")));
    EXPECT_EQ(GetFileVersionString(folder.filePath("linked-program"), "@A"), QString::number(compiledIn.Major));

    // Any other file, or none at all, has no version: even a template without placeholders gives ''.
    const QString other = testing_support::writeFile(folder.filePath("other.exe"), "MZ");
    EXPECT_EQ(GetFileVersionString(other, "plain"), "");
    EXPECT_EQ(GetFileVersionString(folder.filePath("missing"), "@A"), "");
    EXPECT_EQ(GetFileVersionString("", "@A"), "");
}

TEST(ExtractFileNameNoExt, TakesTheNameWithoutFolderAndLastExtension)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/home/ann/my.list.events", "my.list"}, // two dots: up to the last one
        {"/home/ann.d/README", "README"},        // a dot in a folder name is not an extension
        {"/home/ann/ending.", "ending"},         {"name.events", "name"}, {"/home/ann/", ""}, {"", ""},
    };
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(ExtractFileNameNoExt(path), expected) << path;
}

} // namespace
