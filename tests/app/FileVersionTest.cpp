#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include "TestSupport.h"
#include "app/FileVersion.h"

namespace {

struct TemplateCase {
    const char* Template;
    const char* Expected;
};

class FormatFileVersionCases : public ::testing::TestWithParam<TemplateCase> {};

} // namespace

TEST_P(FormatFileVersionCases, FillsEveryPlaceholderInEitherCase)
{
    const TFileVersion version{3, 4, 5, 67};
    EXPECT_EQ(FormatFileVersion(QString::fromUtf8(GetParam().Template), version),
              QString::fromUtf8(GetParam().Expected));
}

INSTANTIATE_TEST_SUITE_P(Templates, FormatFileVersionCases,
                         ::testing::Values(TemplateCase{"@A.@B.@C", "3.4.5"},
                                           TemplateCase{"@A.@B.@C, Build:  @D", "3.4.5, Build:  67"},
                                           TemplateCase{"@a.@b.@c.@d", "3.4.5.67"}, TemplateCase{"v@A@A-@D", "v33-67"},
                                           TemplateCase{"no placeholders", "no placeholders"},
                                           TemplateCase{"@E @", "@E @"}, TemplateCase{"", ""}));

TEST(GetFileVersionString, OnlyTheProgramFileCarriesAVersion)
{
    const TFileVersion compiledIn = ProgramFileVersion();
    const QString program = QCoreApplication::applicationFilePath();
    EXPECT_EQ(GetFileVersionString(program, QStringLiteral("@A.@B.@C")),
              QStringLiteral("%1.%2.%3").arg(compiledIn.Major).arg(compiledIn.Minor).arg(compiledIn.Release));
    EXPECT_EQ(GetFileVersionString(program, QStringLiteral("plain")), QStringLiteral("plain"));

    // The same file reached through a link is still the program.
    QTemporaryDir folder;
    const QString link = folder.filePath(QStringLiteral("linked-program"));
    ASSERT_TRUE(QFile::link(program, link));
    EXPECT_EQ(GetFileVersionString(link, QStringLiteral("@A")), QString::number(compiledIn.Major));

    // Any other file, or none at all, has no version: even a template without placeholders gives ''.
    const QString other = testing_support::writeFile(folder.filePath(QStringLiteral("other.exe")), "MZ");
    EXPECT_EQ(GetFileVersionString(other, QStringLiteral("plain")), QString());
    EXPECT_EQ(GetFileVersionString(folder.filePath(QStringLiteral("missing")), QStringLiteral("@A")), QString());
    EXPECT_EQ(GetFileVersionString(QString(), QStringLiteral("@A")), QString());
}

TEST(ExtractFileNameNoExt, TakesTheNameWithoutFolderAndLastExtension)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/home/ann/Events.events", "Events"},
        {"/home/ann/my.list.events", "my.list"}, // two dots: up to the last one
        {"/home/ann/plan.txt", "plan"},
        {"/home/ann.d/README", "README"}, // a dot in a folder name is not an extension
        {"/home/ann/ending.", "ending"},  // a final dot goes
        {"relative/name.events", "name"},
        {"name.events", "name"},
        {"name", "name"},
        {"/home/ann/", ""},
        {"", ""},
    };
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(ExtractFileNameNoExt(QString::fromUtf8(path)), QString::fromUtf8(expected)) << path;
}
