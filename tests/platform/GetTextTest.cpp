#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>

#include "TestSupport.h"
#include "platform/GetText.h"
#include "platform/ProgramFolder.h"

namespace {

// Builds LOCALE/<code>/LC_MESSAGES/default.mo in the test's program folder.
bool makeCatalogue(const QString& code, const QString& po)
{
    const QString folder = programFolder() + QStringLiteral("LOCALE/") + code + QStringLiteral("/LC_MESSAGES");
    QDir().mkpath(folder);
    const QString source = testing_support::writeFile(folder + QStringLiteral("/default.po"), po.toUtf8());
    return QProcess::execute(QStringLiteral("msgfmt"), {QStringLiteral("-o"), folder + QStringLiteral("/default.mo"),
                                                        source}) == 0;
}

} // namespace

TEST(GetText, EnglishPassesThroughUntranslated)
{
    EXPECT_EQ(_("Welcome to Quillet!!"), QStringLiteral("Welcome to Quillet!!"));
    EXPECT_EQ(translation::currentLanguage(), QStringLiteral("en"));
}

TEST(GetText, LoadsACatalogueAndSwitchesBack)
{
    ASSERT_TRUE(makeCatalogue(QStringLiteral("de"),
                              QStringLiteral("msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
                                             "msgid \"General\"\nmsgstr \"Allgemein\"\n\n"
                                             "msgid \"Low\"\nmsgstr \"Niedrig für\"\n")));
    ASSERT_TRUE(translation::setLanguage(QStringLiteral("de")));
    EXPECT_EQ(_("General"), QStringLiteral("Allgemein"));
    EXPECT_EQ(_(QStringLiteral("Low")), QStringLiteral("Niedrig für"));
    EXPECT_EQ(_("Untranslated"), QStringLiteral("Untranslated"));
    EXPECT_FALSE(translation::setLanguage(QStringLiteral("xx")));
    EXPECT_EQ(translation::currentLanguage(), QStringLiteral("de"));
    EXPECT_TRUE(translation::setLanguage(QStringLiteral("en")));
    EXPECT_EQ(_("General"), QStringLiteral("General"));
}
