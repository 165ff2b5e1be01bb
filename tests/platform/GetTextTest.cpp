#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

#include <cstdio>

#include "TestSupport.h"
#include "platform/GetText.h"
#include "platform/ProgramFolder.h"

namespace {

// Compiles a catalogue of (English, translation) pairs into LOCALE/<folder> beside the program.
void writeCatalogue(const QString& folderName, const std::vector<std::pair<const char*, const char*>>& entries)
{
    const QString folder = programFolder() + "LOCALE/" + folderName + "/LC_MESSAGES/";
    QByteArray po = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n";
    for (const auto& [english, translated] : entries)
        po += QByteArray("\nmsgid \"") + english + "\"\nmsgstr \"" + translated + "\"\n";
    testing_support::writeFile(folder + "default.po", po);
    ASSERT_EQ(QProcess::execute("msgfmt", {"-o", folder + "default.mo", folder + "default.po"}), 0);
}

} // namespace

TEST(GetText, PassesEnglishThroughAndSwitchesCatalogues)
{
    EXPECT_EQ(_("Welcome to Quillet!!"), "Welcome to Quillet!!");
    EXPECT_EQ(translation::currentLanguage(), "en");

    writeCatalogue("de", {{"General", "Allgemein"}, {"Low", "Niedrig f\xC3\xBCr"}});
    writeCatalogue("IT", {{"General", "Generale"}});
    writeCatalogue("en", {{"Febuary", "February"}});

    ASSERT_TRUE(translation::setLanguage("de"));
    EXPECT_FALSE(translation::setLanguage("xx")) << "no such catalogue";
    EXPECT_EQ(translation::currentLanguage(), "de");
    EXPECT_EQ(_("General"), "Allgemein") << "German stays";
    EXPECT_EQ(_(QStringLiteral("Low")) + _("Untranslated"), "Niedrig fürUntranslated");

    // A code names a folder inside LOCALE; one that leads out of it is unknown.
    writeCatalogue("../outside", {{"General", "Draussen"}});
    writeCatalogue("sr@latin.UTF-8", {{"General", "Opste"}});
    for (const char* code : {"../outside", "de/../../outside", "..", ".", "de/", "/tmp", "de\\"})
        EXPECT_FALSE(translation::setLanguage(code)) << code;
    EXPECT_EQ(_("General"), "Allgemein");
    ASSERT_TRUE(translation::setLanguage("sr@latin.UTF-8"));
    EXPECT_EQ(_("General"), "Opste");
    QDir(programFolder() + "outside").removeRecursively();

    // A folder named in other letters than the code (the menu lower-cases its codes).
    ASSERT_TRUE(translation::setLanguage("it"));
    EXPECT_EQ(_("General"), "Generale");

    // An English catalogue only mends misspelt messages.
    ASSERT_TRUE(translation::setLanguage("en"));
    EXPECT_EQ(_("Febuary") + _("General"), "FebruaryGeneral");

    // Back to English is back to the English catalogue, which still mends.
    ASSERT_TRUE(translation::setLanguage("de"));
    EXPECT_TRUE(translation::setLanguage(""));
    EXPECT_EQ(_("General") + _("Febuary"), "GeneralFebruary");
    EXPECT_EQ(translation::currentLanguage(), "en");

    // Every translation handed out leads back to its English message.
    EXPECT_EQ(translation::englishSource("Allgemein"), "General");
    EXPECT_EQ(translation::englishSource("Generale"), "General");
    EXPECT_EQ(translation::englishSource("Mine"), "Mine");
    QDir(programFolder() + "LOCALE").removeRecursively();
}

TEST(GetText, NamesTwoLetterLanguageCodesInEnglish)
{
    const std::pair<const char*, const char*> names[] = {
        {"de", "German"}, {"it", "Italian"}, {"fr", "French"}, {"es", "Spanish"}, {"en", "English"},
        {"xx", ""},       {"pt_br", ""},     {"deu", ""},      {"", ""},          {"c", ""}};
    for (const auto& [code, name] : names)
        EXPECT_EQ(translation::languageName(code), name) << code;
}

// The locale is read once at the start, so each gets a child process that reports its text.
TEST(GetText, StartsInTheSystemLanguageAndInEnglishUnderTheCLocale)
{
    const char* const childVariable = "QUILLET_TEST_START_TEXT";
    if (qEnvironmentVariableIsSet(childVariable)) {
        writeCatalogue("en", {{"Goto Today", "Go to Today"}});
        writeCatalogue("de", {{"Goto Today", "Gehe zu Heute"}});
        if (!translation::setLanguage(translation::systemLanguageCode()))
            translation::setLanguage(QString()); // a language without a catalogue is English
        std::printf("start text: %s\n", _("Goto Today").toUtf8().constData());
        return;
    }
    const std::pair<const char*, const char*> locales[] = {
        {"C", "Go to Today"}, {"C.UTF-8", "Go to Today"}, {"POSIX", "Go to Today"}, {"de_DE.UTF-8", "Gehe zu Heute"},
        {"ja_JP.UTF-8", "Go to Today"}};
    for (const auto& [locale, text] : locales) {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LC_ALL", locale);
        environment.insert(childVariable, "1");
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(),
                    {"--gtest_filter=GetText.StartsInTheSystemLanguageAndInEnglishUnderTheCLocale"});
        ASSERT_TRUE(child.waitForFinished(20000));
        EXPECT_TRUE(child.readAllStandardOutput().contains(QByteArray("start text: ") + text + "\n")) << locale;
    }
}
