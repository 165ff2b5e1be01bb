#include "GetText.h"

#include <QDir>
#include <QFileInfo>

#include <boost/locale.hpp>

#include <locale>
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

} // namespace

QString _(const char* english)
{
    const Catalogue& catalogue = current();
    if (!catalogue.locale)
        return QString::fromUtf8(english);
    return QString::fromStdString(boost::locale::translate(english).str(*catalogue.locale));
}

QString _(const QString& english)
{
    const QByteArray utf8 = english.toUtf8();
    return _(utf8.constData());
}

namespace translation {

bool setLanguage(const QString& code)
{
    Catalogue& catalogue = current();
    if (code.isEmpty() || code == QLatin1String("en")) {
        catalogue = Catalogue{};
        return true;
    }
    const QString folder = programFolder() + QStringLiteral("LOCALE");
    if (!QFileInfo::exists(folder + QLatin1Char('/') + code + QStringLiteral("/LC_MESSAGES/default.mo")))
        return false;
    try {
        boost::locale::generator generator;
        generator.add_messages_path(QDir::toNativeSeparators(folder).toStdString());
        generator.add_messages_domain("default");
        // Boost.Locale needs an encoding in the name; the folder "<code>" is found from it.
        catalogue.locale = generator((code + QStringLiteral(".UTF-8")).toStdString());
        catalogue.code = code;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

QString currentLanguage() { return current().code; }

} // namespace translation
