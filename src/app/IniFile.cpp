#include "IniFile.h"

#define SI_IMPLEMENTATION
#define SI_NO_CONVERSION
#include <SimpleIni.h>

#include <QFile>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "events/Exceptions.h"
#include "events/file/FileAccess.h"
#include "events/file/TextCodec.h"

namespace {

// A value's bytes as text. The line end keeps a lead byte at the value's end from
// passing for the start of an unfinished UTF-8 sequence (a Windows-1252 "é").
QString decodeValue(const char* Value)
{
    QString text = decodeText(QByteArray(Value) + '\n');
    text.chop(1);
    return text;
}

} // namespace

struct IniFile::Data {
    // Repeated keys are kept: a hand-edited section may name a key twice.
    CSimpleIniA ini{false, true, false};
};

IniFile::IniFile() : d(std::make_unique<Data>())
{
    d->ini.SetSpaces(false);
}

IniFile::~IniFile() = default;

void IniFile::load(const QString& FileName)
{
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    d->ini.LoadData(bytes.constData(), static_cast<size_t>(bytes.size()));
}

void IniFile::save(const QString& FileName) const
{
    std::string text;
    if (d->ini.Save(text) < 0)
        throw EFileError(QStringLiteral("Unable to write to %1").arg(FileName));
    writeFileAtomically(FileName, QByteArray::fromStdString(text));
}

QString IniFile::readString(const char* Section, const char* Key, const QString& Default) const
{
    const char* value = d->ini.GetValue(Section, Key, nullptr);
    return value ? decodeValue(value) : Default;
}

int IniFile::readInteger(const char* Section, const char* Key, int Default) const
{
    int value = 0;
    const char* text = d->ini.GetValue(Section, Key, nullptr);
    return text && parseIniInteger(QString::fromLatin1(text), value) ? value : Default;
}

bool IniFile::readBool(const char* Section, const char* Key, bool Default) const
{
    return readInteger(Section, Key, Default ? 1 : 0) != 0;
}

QStringList IniFile::readSectionValues(const char* Section) const
{
    QStringList values;
    const CSimpleIniA::TKeyVal* lines = d->ini.GetSection(Section);
    if (!lines)
        return values;
    std::vector<std::pair<int, const char*>> ordered; // (place in the file, value)
    for (const auto& [key, value] : *lines)
        ordered.emplace_back(key.nOrder, value);
    std::sort(ordered.begin(), ordered.end());
    for (const auto& line : ordered)
        values << decodeValue(line.second);
    return values;
}

void IniFile::writeString(const char* Section, const char* Key, const QString& Value)
{
    d->ini.SetValue(Section, Key, Value.toUtf8().constData(), nullptr, true);
}

void IniFile::writeInteger(const char* Section, const char* Key, int Value)
{
    d->ini.SetValue(Section, Key, std::to_string(Value).c_str(), nullptr, true);
}

void IniFile::writeBool(const char* Section, const char* Key, bool Value)
{
    writeInteger(Section, Key, Value ? 1 : 0);
}

void IniFile::eraseSection(const char* Section)
{
    d->ini.Delete(Section, nullptr);
}

namespace {

bool isDecimalDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isHexDigit(QChar c)
{
    return isDecimalDigit(c) || (c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f'));
}

} // namespace

bool parseIniInteger(const QString& Text, int& Value)
{
    bool ok = false;
    if (Text.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)) {
        const QStringView digits = QStringView(Text).mid(2);
        // toUInt would take a sign or spaces that the form does not allow.
        for (const QChar c : digits)
            if (!isHexDigit(c))
                return false;
        const uint bits = digits.toUInt(&ok, 16);
        if (ok)
            Value = static_cast<int>(bits); // 32 bits, as the Windows program reads them
        return ok;
    }
    for (int i = 0; i < Text.size(); ++i)
        if (!isDecimalDigit(Text[i]) && !(i == 0 && (Text[i] == QLatin1Char('-') || Text[i] == QLatin1Char('+'))))
            return false;
    const int number = Text.toInt(&ok, 10);
    if (ok)
        Value = number;
    return ok;
}
