// The splash, the About box and the small dialogs as a user meets them, and the
// version and file-name texts they use.
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include "AppTestSupport.h"
#include "app/About.h"
#include "app/FileVersion.h"
#include "app/GetTextDialog.h"
#include "app/InfoDialog.h"
#include "app/Splash.h"

using app_testing::screenshot;

namespace {

// Runs action on the dialog that is about to open, once it is on show.
void whenShown(const std::function<void(QWidget&)>& action)
{
    QTimer::singleShot(0, [action] { action(*QApplication::activeModalWidget()); });
}

TEST(SmallWindows, ShowTheirTextsAndAnswerHowTheyWereClosed)
{
    ShowSplash(100, "9.8.7");
    EXPECT_EQ(frmSplash()->Label1->text(), "Version: 9.8.7");
    screenshot(*frmSplash(), "splash");
    EXPECT_TRUE(QTest::qWaitFor([] { return !SplashVisible(); })) << "its timer hides it after the minimum time";

    TfrmAbout about;
    EXPECT_EQ(about.lblVersion->text(), "Version:  " + FormatFileVersion("@A.@B.@C, Build:  @D", ProgramFileVersion()));
    whenShown([](QWidget& dialog) {
        screenshot(dialog, "about");
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    EXPECT_TRUE(about.Execute());

    TfrmInfoDialog info;
    whenShown([&](QWidget& dialog) {
        screenshot(dialog, "info");
        QTest::mouseClick(info.btnOk, Qt::LeftButton);
    });
    EXPECT_TRUE(info.Execute("Import Results", "3 new events imported & sorted"));
    EXPECT_EQ(info.stxtMessage->text(), "3 new events imported & sorted");

    TfrmGetText question;
    whenShown([&](QWidget& dialog) {
        EXPECT_EQ(dialog.focusWidget(), question.edtAnswer);
        question.edtAnswer->selectAll();
        QTest::keyClicks(question.edtAnswer, "Travel & Leisure");
        screenshot(dialog, "get-text");
        QTest::mouseClick(question.btnCancel, Qt::LeftButton);
    });
    EXPECT_FALSE(question.Execute("Add Category", "Enter new category:", "old"));
    EXPECT_EQ(question.GetAnswer(), "Travel & Leisure") << "readable after Cancel too";
    whenShown([&](QWidget&) {
        QTest::keyClicks(question.edtAnswer, "  ");
        QTest::keyClick(question.edtAnswer, Qt::Key_Return);
    });
    EXPECT_TRUE(question.Execute("Edit Category", "Modify category:", "Work"));
    EXPECT_EQ(question.GetAnswer(), "Work  ");
}

TEST(GetFileVersionString, FillsThePlaceholdersForTheProgramFileOnly)
{
    const std::pair<const char*, const char*> templates[] = {
        {"@A.@B.@C, Build:  @D", "3.4.5, Build:  67"}, {"@a.@b.@c.@d", "3.4.5.67"}, {"v@A@A-@E @", "v33-@E @"}};
    for (const auto& [text, expected] : templates)
        EXPECT_EQ(FormatFileVersion(text, TFileVersion{3, 4, 5, 67}), expected) << text;

    const QString program = QCoreApplication::applicationFilePath();
    EXPECT_EQ(GetFileVersionString(program, "@A.@B.@C"), FormatFileVersion("@A.@B.@C", ProgramFileVersion()));
    QTemporaryDir folder;
    ASSERT_TRUE(QFile::link(program, folder.filePath("linked-program")));
    EXPECT_EQ(GetFileVersionString(folder.filePath("linked-program"), "@A"),
              QString::number(ProgramFileVersion().Major))
        << "the program reached through a link";
    // Any other file, or none at all, has no version: even a template without placeholders gives ''.
    EXPECT_EQ(GetFileVersionString(testing_support::writeFile(folder.filePath("other.exe"), "MZ"), "plain"), "");
    EXPECT_EQ(GetFileVersionString(folder.filePath("missing"), "@A"), "");
}

TEST(ExtractFileNameNoExt, TakesTheNameWithoutFolderAndLastExtension)
{
    const std::pair<const char*, const char*> cases[] = {{"/home/ann/my.list.events", "my.list"},
                                                         {"/home/ann.d/README", "README"},
                                                         {"/home/ann/ending.", "ending"},
                                                         {"name.events", "name"},
                                                         {"/home/ann/", ""},
                                                         {"", ""}};
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(ExtractFileNameNoExt(path), expected) << path;
}

} // namespace
