#include "FileValues.h"

#include <QLocale>

#include <charconv>
#include <string>

namespace {

constexpr char16_t ArabicDecimalSeparator = 0x066B;

// The text as ASCII for the number parsers; false when it holds anything else.
// With ArabicPoint the Arabic decimal separator reads as ".".
bool toAscii(QStringView Text, std::string& Ascii, bool ArabicPoint)
{
    Ascii.clear();
    Ascii.reserve(static_cast<size_t>(Text.size()));
    for (const QChar c : Text) {
        if (ArabicPoint && c.unicode() == ArabicDecimalSeparator)
            Ascii += '.';
        else if (c.unicode() > 0x7F)
            return false;
        else
            Ascii += static_cast<char>(c.unicode());
    }
    return true;
}

// A decimal number with "." or "," as its separator, with an optional sign.
bool readNumber(QStringView Text, double& Value, bool ArabicPoint = false)
{
    std::string ascii;
    if (!toAscii(trimBlanksAndControls(Text), ascii, ArabicPoint) || ascii.empty())
        return false;
    for (char& c : ascii)
        if (c == ',')
            c = '.';
    const char* first = ascii.data();
    const char* last = first + ascii.size();
    if (*first == '+')
        ++first;
    double parsed = 0;
    const auto [end, error] = std::from_chars(first, last, parsed, std::chars_format::general);
    if (error != std::errc() || end != last)
        return false;
    Value = parsed;
    return true;
}

} // namespace

QString formatBoolean(bool Value)
{
    return Value ? QStringLiteral("-1") : QStringLiteral("0");
}

bool readBoolean(QStringView Text, bool Fallback)
{
    const QStringView word = trimBlanksAndControls(Text);
    double number = 0;
    if (readNumber(word, number))
        return number != 0;
    if (word.compare(QLatin1StringView("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (word.compare(QLatin1StringView("False"), Qt::CaseInsensitive) == 0)
        return false;
    return Fallback;
}

bool tryReadInteger(QStringView Text, std::int32_t& Value)
{
    std::string ascii;
    if (!toAscii(trimBlanksAndControls(Text), ascii, false) || ascii.empty())
        return false;
    const char* first = ascii.data();
    const char* last = first + ascii.size();
    if (*first == '+')
        ++first;
    std::int32_t parsed = 0;
    const auto [end, error] = std::from_chars(first, last, parsed);
    if (error != std::errc() || end != last)
        return false;
    Value = parsed;
    return true;
}

std::int32_t readInteger(QStringView Text, std::int32_t Fallback)
{
    std::int32_t value = Fallback;
    return tryReadInteger(Text, value) ? value : Fallback;
}

int readEnumeration(QStringView Text, std::span<const char* const> Names, int Fallback)
{
    const QStringView word = trimBlanksAndControls(Text);
    int index = 0;
    for (const char* name : Names) {
        if (word.compare(QLatin1StringView(name), Qt::CaseInsensitive) == 0)
            return index;
        ++index;
    }
    return Fallback;
}

QString formatJulian(TDateTime Value)
{
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, dateTimeToJulianDate(Value), std::chars_format::general, 15);
    QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    // Only "," is written besides ".": files written under other separators
    // (the Arabic one of Persian or Urdu settings) could not be read anywhere else.
    if (QLocale::system().decimalPoint() == QLatin1String(","))
        text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

bool readJulian(QStringView Text, TDateTime& Value)
{
    // Earlier versions wrote the Arabic separator where the settings had it.
    double julian = 0;
    return readNumber(Text, julian, true) && tryJulianDateToDateTime(julian, Value);
}

QStringView trimBlanksAndControls(QStringView Text)
{
    qsizetype first = 0;
    qsizetype last = Text.size();
    while (first < last && Text[first].unicode() <= u' ')
        ++first;
    while (last > first && Text[last - 1].unicode() <= u' ')
        --last;
    return Text.mid(first, last - first);
}
