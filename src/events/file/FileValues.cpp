#include "FileValues.h"

#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "TagSearch.h"
#include "TextCodec.h"

namespace {

// The Arabic decimal separator (U+066B) in UTF-8. Earlier versions wrote it
// where the regional settings had it.
constexpr std::string_view ArabicDecimalSeparator = "\xD9\xAB";

bool isAscii(std::string_view text)
{
    return std::none_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) > 0x7F; });
}

// A decimal "[-]digits[.digits]" (or with ",") of up to 15 digits, which every date and number
// the program writes is: digits and a power of ten are exact doubles, so one
// division gives the correctly rounded value that std::from_chars would.
bool readPlainDecimal(const char* First, const char* Last, double& Value)
{
    static constexpr double powersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    const bool negative = First < Last && *First == '-';
    const char* at = First + (negative ? 1 : 0);
    const char* const integerStart = at;
    std::uint64_t digits = 0; // wraps only past 19 digits, which are refused below
    for (; at < Last && isDigit(*at); ++at)
        digits = digits * 10 + static_cast<std::uint64_t>(*at - '0');
    const auto integerCount = at - integerStart;
    long decimals = 0;
    if (at < Last && (*at == '.' || *at == ',')) {
        const char* const decimalStart = ++at;
        for (; at < Last && isDigit(*at); ++at)
            digits = digits * 10 + static_cast<std::uint64_t>(*at - '0');
        decimals = at - decimalStart;
        if (decimals == 0)
            return false;
    }
    if (at != Last || integerCount == 0 || integerCount + decimals > 15)
        return false;
    const double value = static_cast<double>(digits) / powersOfTen[decimals];
    Value = negative ? -value : value;
    return true;
}

// A decimal number with "." or "," as its separator (with ArabicPoint also the
// Arabic one), with an optional sign.
bool readNumber(std::string_view Text, double& Value, bool ArabicPoint = false)
{
    const std::string_view trimmed = trimBlanksAndControls(Text);
    if (trimmed.empty())
        return false;
    if (readPlainDecimal(trimmed.data() + (trimmed[0] == '+' ? 1 : 0), trimmed.data() + trimmed.size(), Value))
        return true;
    // The parser wants "." as the separator: the number is copied, to the stack
    // when it is of a sensible length.
    char local[64];
    std::string long_;
    char* ascii = local;
    if (trimmed.size() > sizeof local) {
        long_.resize(trimmed.size());
        ascii = long_.data();
    }
    size_t size = 0;
    for (size_t i = 0; i < trimmed.size(); ++i) {
        char c = trimmed[i];
        if (ArabicPoint && trimmed.substr(i, ArabicDecimalSeparator.size()) == ArabicDecimalSeparator) {
            c = '.';
            i += ArabicDecimalSeparator.size() - 1;
        } else if (static_cast<unsigned char>(c) > 0x7F) {
            return false;
        } else if (c == ',') {
            c = '.';
        }
        ascii[size++] = c;
    }
    const char* first = ascii;
    const char* last = ascii + size;
    if (*first == '+')
        ++first;
    double parsed = 0;
    const auto [end, error] = std::from_chars(first, last, parsed, std::chars_format::general);
    if (error != std::errc() || end != last)
        return false;
    Value = parsed;
    return true;
}

// A word compared without regard to letter case. Words beyond ASCII are
// compared as Qt compares text, where some letters fold to ASCII ones.
bool sameWord(std::string_view Word, const char* Name, bool Utf8)
{
    const std::string_view name(Name);
    if (isAscii(Word))
        return Word.size() == name.size() && std::equal(Word.begin(), Word.end(), name.begin(), sameIgnoringAsciiCase);
    return decodeBytes(Word, Utf8).compare(QLatin1StringView(Name), Qt::CaseInsensitive) == 0;
}

} // namespace

std::string_view formatBoolean(bool Value)
{
    return Value ? "-1" : "0";
}

bool readBoolean(std::string_view Text, bool Fallback, bool Utf8)
{
    const std::string_view word = trimBlanksAndControls(Text);
    double number = 0;
    if (readNumber(word, number))
        return number != 0;
    if (sameWord(word, "True", Utf8))
        return true;
    if (sameWord(word, "False", Utf8))
        return false;
    return Fallback;
}

bool tryReadInteger(std::string_view Text, std::int32_t& Value)
{
    const std::string_view ascii = trimBlanksAndControls(Text);
    if (ascii.empty() || !isAscii(ascii))
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

std::int32_t readInteger(std::string_view Text, std::int32_t Fallback)
{
    std::int32_t value = Fallback;
    return tryReadInteger(Text, value) ? value : Fallback;
}

int readEnumeration(std::string_view Text, std::span<const char* const> Names, int Fallback, bool Utf8)
{
    const std::string_view word = trimBlanksAndControls(Text);
    int index = 0;
    for (const char* name : Names) {
        if (sameWord(word, name, Utf8))
            return index;
        ++index;
    }
    return Fallback;
}

char julianDecimalPoint()
{
    // Only "," is written besides ".": files written under other separators
    // (the Arabic one of Persian or Urdu settings) could not be read anywhere else.
    return QLocale::system().decimalPoint() == QLatin1String(",") ? ',' : '.';
}

char* writeJulian(char* Out, TDateTime Value, char Point)
{
    const double julian = dateTimeToJulianDate(Value);
    char* const buffer = Out;
    char* end = nullptr;
    // Every date of years 1-9999 has seven digits before the point, and so
    // eight after it: the value is rounded to whole hundred-millionths exactly,
    // as std::to_chars does it, but without its general machinery.
    int exponent = 0;
    const double fraction = std::frexp(julian, &exponent);
    if (julian >= 1e6 && julian < 1e7) {
        const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
        const int shift = 53 - exponent;
        const unsigned __int128 scaled = static_cast<unsigned __int128>(mantissa) * 100000000u;
        std::uint64_t rounded = static_cast<std::uint64_t>(scaled >> shift);
        const unsigned __int128 rest = scaled & ((static_cast<unsigned __int128>(1) << shift) - 1);
        const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
        if (rest > half || (rest == half && (rounded & 1)))
            ++rounded;
        if (rounded < 1000000000000000u) {
            end = std::to_chars(buffer, buffer + MaxJulianSize, rounded / 100000000u).ptr;
            std::uint64_t decimals = rounded % 100000000u;
            if (decimals != 0) {
                int places = 8;
                while (decimals % 10 == 0) {
                    decimals /= 10;
                    --places;
                }
                *end++ = Point;
                for (int i = places - 1; i >= 0; --i, decimals /= 10)
                    end[i] = static_cast<char>('0' + decimals % 10);
                end += places;
            }
        }
    }
    if (!end) {
        end = std::to_chars(buffer, buffer + MaxJulianSize, julian, std::chars_format::general, 15).ptr;
        if (Point != '.')
            std::replace(buffer, end, '.', Point);
    }
    return end;
}

void appendJulian(std::string& Out, TDateTime Value, char Point)
{
    char buffer[MaxJulianSize];
    Out.append(buffer, writeJulian(buffer, Value, Point));
}

QString formatJulian(TDateTime Value)
{
    std::string text;
    appendJulian(text, Value, julianDecimalPoint());
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

bool readJulian(std::string_view Text, TDateTime& Value, bool Utf8)
{
    double julian = 0;
    return readNumber(Text, julian, Utf8) && tryJulianDateToDateTime(julian, Value);
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

std::string_view trimBlanksAndControls(std::string_view Text)
{
    size_t first = 0;
    size_t last = Text.size();
    while (first < last && static_cast<unsigned char>(Text[first]) <= ' ')
        ++first;
    while (last > first && static_cast<unsigned char>(Text[last - 1]) <= ' ')
        --last;
    return Text.substr(first, last - first);
}
