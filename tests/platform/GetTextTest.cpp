#include <gtest/gtest.h>

#include <QProcess>

#include "TestSupport.h"
#include "platform/GetText.h"
#include "platform/ProgramFolder.h"

TEST(GetText, PassesEnglishThroughAndSwitchesCatalogues)
{
    EXPECT_EQ(_("Welcome to Quillet!!"), "Welcome to Quillet!!");
    EXPECT_EQ(translation::currentLanguage(), "en");

    // A catalogue in LOCALE/<code>/LC_MESSAGES/default.mo beside the program.
    const QString folder = programFolder() + "LOCALE/de/LC_MESSAGES/";
    const QString po = testing_support::writeFile(
        folder + "default.po", "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
                               "msgid \"General\"\nmsgstr \"Allgemein\"\n\n"
                               "msgid \"Low\"\nmsgstr \"Niedrig f\xC3\xBCr\"\n");
    ASSERT_EQ(QProcess::execute("msgfmt", {"-o", folder + "default.mo", po}), 0);
    ASSERT_TRUE(translation::setLanguage("de"));
    EXPECT_FALSE(translation::setLanguage("xx")) << "no such catalogue";
    EXPECT_EQ(_("General"), "Allgemein") << "German stays";
    EXPECT_EQ(_(QStringLiteral("Low")) + _("Untranslated"), "Niedrig fürUntranslated");
    EXPECT_TRUE(translation::setLanguage("en"));
    EXPECT_EQ(_("General"), "General");
}
