// The translation catalogues against the program's texts: every text the code passes
// through _() (or marks with N_() for a later _()) is in each catalogue, translated,
// with the same placeholders; and every entry of a catalogue is a text of the code.
// The catalogues the build compiled beside the program translate each entry.
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/GetText.h"
#include "platform/ProgramFolder.h"

namespace {

const QString SourceFolder = QStringLiteral(QUILLET_SOURCE_DIR);

// The catalogues of whole translations; "en" only mends misspelt English.
const QStringList FullLanguages = {"de", "fr", "es"};

struct Entry {
    QString Translation;
    bool Fuzzy = false;
};
using Catalogue = QMap<QString, Entry>; // by English message

QString unescape(const QString& text)
{
    QString result;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\\') || i + 1 == text.size()) {
            result += text[i];
            continue;
        }
        const QChar next = text[++i];
        result += next == QLatin1Char('n') ? QChar('\n') : next == QLatin1Char('t') ? QChar('\t') : next;
    }
    return result;
}

// A .po or .pot file's entries, without the header.
Catalogue readCatalogue(const QString& fileName)
{
    Catalogue entries;
    QFile file(fileName);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << fileName;
    QString id, text, *current = nullptr;
    bool fuzzy = false, nextFuzzy = false;
    const auto finish = [&] {
        if (current && !id.isEmpty())
            entries.insert(unescape(id), {unescape(text), fuzzy});
        id.clear();
        text.clear();
        current = nullptr;
    };
    static const QRegularExpression quoted(QStringLiteral("^\"(.*)\"$"));
    for (const QString& raw : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1String("#,")) && line.contains(QLatin1String("fuzzy")))
            nextFuzzy = true;
        if (line.startsWith(QLatin1String("msgid "))) {
            finish();
            fuzzy = nextFuzzy;
            nextFuzzy = false;
            current = &id;
            *current = quoted.match(line.mid(6)).captured(1);
        } else if (line.startsWith(QLatin1String("msgstr "))) {
            current = &text;
            *current = quoted.match(line.mid(7)).captured(1);
        } else if (current && line.startsWith(QLatin1Char('"'))) {
            *current += quoted.match(line).captured(1);
        }
    }
    finish();
    return entries;
}

// The texts of the code, as xgettext finds them in src/.
QSet<QString> programTexts(const QString& workFolder)
{
    QStringList files;
    QDirIterator it(SourceFolder + "/src", {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    const QString pot = workFolder + "/program.pot";
    QProcess xgettext;
    xgettext.start("xgettext", QStringList{"--from-code=UTF-8", "--language=C++", "--keyword=_", "--keyword=N_",
                                           "--no-location", "-o", pot} +
                                   files);
    EXPECT_TRUE(xgettext.waitForFinished(60000));
    EXPECT_EQ(xgettext.exitCode(), 0) << xgettext.readAllStandardError().constData();
    const QStringList ids = readCatalogue(pot).keys();
    return {ids.begin(), ids.end()};
}

// The placeholders of a text ("%d", "%1", "%%"), in order.
QStringList placeholders(const QString& text)
{
    static const QRegularExpression placeholder(QStringLiteral("%(?:[0-9]+|[a-z]|%)"));
    QStringList found;
    for (auto match = placeholder.globalMatch(text); match.hasNext();)
        found << match.next().captured();
    found.sort();
    return found;
}

QString listed(QStringList texts)
{
    texts.sort();
    return "\n  \"" + texts.join("\"\n  \"") + "\"";
}

class Catalogues : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        work = new QTemporaryDir;
        texts = new QSet<QString>(programTexts(work->path()));
    }
    static void TearDownTestSuite()
    {
        delete texts;
        delete work;
    }
    static Catalogue catalogue(const QString& code) { return readCatalogue(SourceFolder + "/locale/" + code + ".po"); }

    static inline QTemporaryDir* work = nullptr;
    static inline QSet<QString>* texts = nullptr;
};

TEST_F(Catalogues, TranslateEveryTextOfTheProgramAndNothingElse)
{
    ASSERT_GT(texts->size(), 100) << "the texts of the code were not found";
    for (const QString& code : FullLanguages) {
        SCOPED_TRACE(code.toStdString());
        const Catalogue entries = catalogue(code);
        QStringList missing, unknown, untranslated, wrongPlaceholders;
        for (const QString& text : *texts)
            if (!entries.contains(text))
                missing << text;
        for (auto entry = entries.begin(); entry != entries.end(); ++entry) {
            if (!texts->contains(entry.key()))
                unknown << entry.key();
            if (entry->Translation.isEmpty() || entry->Fuzzy)
                untranslated << entry.key();
            else if (placeholders(entry->Translation) != placeholders(entry.key()))
                wrongPlaceholders << entry.key();
        }
        EXPECT_TRUE(missing.isEmpty()) << "texts of the code missing from locale/" << code << ".po:" << listed(missing);
        EXPECT_TRUE(unknown.isEmpty()) << "entries the code no longer has:" << listed(unknown);
        EXPECT_TRUE(untranslated.isEmpty()) << "untranslated or fuzzy:" << listed(untranslated);
        EXPECT_TRUE(wrongPlaceholders.isEmpty()) << "placeholders differ:" << listed(wrongPlaceholders);
    }
}

TEST_F(Catalogues, TheEnglishOneOnlyMendsMisspeltTexts)
{
    const Catalogue entries = catalogue("en");
    for (auto entry = entries.begin(); entry != entries.end(); ++entry) {
        EXPECT_TRUE(texts->contains(entry.key())) << "not a text of the code: " << entry.key();
        EXPECT_NE(entry->Translation, entry.key()) << "nothing to mend in: " << entry.key();
        EXPECT_FALSE(entry->Translation.isEmpty() || entry->Fuzzy) << entry.key();
    }
}

TEST_F(Catalogues, TheBuiltCataloguesTranslateEveryEntry)
{
    // The catalogues the build put beside the program (and the tests).
    const QString built = QCoreApplication::applicationDirPath() + "/LOCALE/";
    for (const QString& code : FullLanguages + QStringList{"en"}) {
        SCOPED_TRACE(code.toStdString());
        const QString mo = code + "/LC_MESSAGES/default.mo";
        ASSERT_TRUE(QFile::exists(built + mo));
        QDir().mkpath(programFolder() + "LOCALE/" + code + "/LC_MESSAGES");
        QFile::remove(programFolder() + "LOCALE/" + mo);
        ASSERT_TRUE(QFile::copy(built + mo, programFolder() + "LOCALE/" + mo));
        ASSERT_TRUE(translation::setLanguage(code));
        const Catalogue entries = catalogue(code);
        for (auto entry = entries.begin(); entry != entries.end(); ++entry)
            EXPECT_EQ(_(entry.key()), entry->Translation) << entry.key();
    }
    translation::setLanguage(QString());
}

} // namespace
