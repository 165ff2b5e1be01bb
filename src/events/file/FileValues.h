#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "events/DateTimeUtils.h"

// How the event file writes and reads its values, as bytes. A value that cannot
// be read gives the caller's fallback: the reader never fails on a single value.
// Utf8 tells how the file's bytes are text: UTF-8, or else Windows-1252.

// "-1" for true, "0" for false.
std::string_view formatBoolean(bool Value);
// A number (true when not zero) or "True" / "False" in any letter case.
bool readBoolean(std::string_view Text, bool Fallback, bool Utf8 = true);

// A signed 32-bit decimal number; anything else, or a number out of range, gives Fallback.
bool tryReadInteger(std::string_view Text, std::int32_t& Value);
std::int32_t readInteger(std::string_view Text, std::int32_t Fallback);

// The index of the name that Text holds, compared without regard to letter case.
int readEnumeration(std::string_view Text, std::span<const char* const> Names, int Fallback, bool Utf8 = true);

// The decimal separator that Julian dates are written with: "," where the
// user's regional settings have it and "." everywhere else.
char julianDecimalPoint();
// The astronomical Julian date in plain decimal notation, up to 15 significant
// digits, with the given decimal separator.
void appendJulian(std::string& Out, TDateTime Value, char Point);
// The same written at Out, which has room for MaxJulianSize bytes; returns its end.
constexpr size_t MaxJulianSize = 32;
char* writeJulian(char* Out, TDateTime Value, char Point);
QString formatJulian(TDateTime Value);
// Reads a Julian date written with ".", "," or the Arabic "\u066B" as its
// separator. False for text that is not a number and for dates outside years 1-9999.
bool readJulian(std::string_view Text, TDateTime& Value, bool Utf8 = true);

// The text without leading and trailing blanks and control characters.
QStringView trimBlanksAndControls(QStringView Text);
std::string_view trimBlanksAndControls(std::string_view Text);
