#include "GetText.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLocale>

#include <boost/locale.hpp>

#include <locale>
#include <mutex>
#include <optional>

#include "ProgramFolder.h"

namespace {

struct Catalogue {
    QString code = QStringLiteral("en");
    std::optional<std::locale> locale; // empty while untranslated
};

Catalogue& current()
{
    static Catalogue catalogue;
    return catalogue;
}

// Every translation handed out, back to its English message, so that a window's
// text can be translated again in another language.
struct Sources {
    std::mutex lock;
    QHash<QString, QString> english;
};

Sources& sources()
{
    static Sources table;
    return table;
}

// A code names a folder inside LOCALE: letters, digits, "_", "-", "@" and "."; a code
// that would lead out of it ("../x", "de/../..") names no catalogue.
bool isCatalogueCode(const QString& code)
{
    if (code.isEmpty() || code.contains(QStringLiteral("..")) || code == QLatin1String("."))
        return false;
    for (const QChar c : code) {
        if (!c.isLetterOrNumber() && !QStringLiteral("_-@.").contains(c))
            return false;
    }
    return true;
}

// The entry of LOCALE named Code, ignoring letter case (an exact match first).
QString catalogueFolderName(const QString& localeFolder, const QString& code)
{
    if (QFileInfo::exists(localeFolder + code))
        return code;
    const QStringList entries = QDir(localeFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries)
        if (entry.compare(code, Qt::CaseInsensitive) == 0)
            return entry;
    return QString();
}

} // namespace

QString _(const char* english)
{
    const Catalogue& catalogue = current();
    if (!catalogue.locale)
        return QString::fromUtf8(english);
    QString translated = QString::fromStdString(boost::locale::translate(english).str(*catalogue.locale));
    if (translated != QLatin1String(english)) {
        Sources& table = sources();
        std::lock_guard guard(table.lock);
        table.english.insert(translated, QString::fromUtf8(english));
    }
    return translated;
}

QString _(const QString& english)
{
    const QByteArray utf8 = english.toUtf8();
    return _(utf8.constData());
}

namespace translation {

namespace {

bool loadCatalogue(const QString& code)
{
    if (!isCatalogueCode(code))
        return false;
    Catalogue& catalogue = current();
    const QString localeFolder = readOnlyFilesFolder() + QStringLiteral("LOCALE/");
    const QString folderName = catalogueFolderName(localeFolder, code);
    if (folderName.isEmpty() ||
        !QFileInfo::exists(localeFolder + folderName + QStringLiteral("/LC_MESSAGES/default.mo")))
        return false;
    try {
        boost::locale::gnu_gettext::messages_info info;
        info.language = folderName.toStdString(); // the folder's own name, as the catalogue is found by it
        info.encoding = "UTF-8";
        info.paths.push_back(QDir::toNativeSeparators(localeFolder).toStdString());
        info.domains.emplace_back("default");
        std::locale messages(std::locale::classic(), boost::locale::gnu_gettext::create_messages_facet<char>(info));
        catalogue.locale = messages;
        catalogue.code = code;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

bool setLanguage(const QString& code)
{
    if (!code.isEmpty())
        return loadCatalogue(code);
    // English is the English catalogue where there is one: it mends the messages' misspellings.
    if (!loadCatalogue(QStringLiteral("en")))
        current() = Catalogue{};
    return true;
}

QString currentLanguage()
{
    return current().code;
}

QString systemLanguageCode()
{
    const QLocale::Language language = QLocale::system().language();
    // C and POSIX (also C.UTF-8) are English, and the English catalogue mends its texts.
    if (language == QLocale::C)
        return QStringLiteral("en");
    if (language == QLocale::AnyLanguage)
        return QString();
    QString code = QLocale::languageToCode(language, QLocale::ISO639Part1);
    if (code.isEmpty())
        code = QLocale::languageToCode(language);
    return code;
}

QString languageName(const QString& code)
{
    if (code.size() != 2)
        return QString();
    const QLocale::Language language = QLocale::codeToLanguage(code, QLocale::ISO639Part1);
    if (language == QLocale::AnyLanguage || language == QLocale::C)
        return QString();
    return QLocale::languageToString(language);
}

QString englishSource(const QString& text)
{
    Sources& table = sources();
    std::lock_guard guard(table.lock);
    return table.english.value(text, text);
}

} // namespace translation
