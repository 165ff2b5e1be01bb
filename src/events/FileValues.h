#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <span>

#include "DateTimeUtils.h"

// How the event file writes and reads its values. A value that cannot be read
// gives the caller's fallback: the reader never fails on a single value.

// "-1" for true, "0" for false.
QString formatBoolean(bool Value);
// A number (true when not zero) or "True" / "False" in any letter case.
bool readBoolean(QStringView Text, bool Fallback);

// A signed 32-bit decimal number; anything else, or a number out of range, gives Fallback.
bool tryReadInteger(QStringView Text, std::int32_t& Value);
std::int32_t readInteger(QStringView Text, std::int32_t Fallback);

// The index of the name that Text holds, compared without regard to letter case.
int readEnumeration(QStringView Text, std::span<const char* const> Names, int Fallback);

// The astronomical Julian date in plain decimal notation, up to 15 significant
// digits, with "," as the decimal separator where the user's regional settings
// have it and "." everywhere else.
QString formatJulian(TDateTime Value);
// Reads a Julian date written with ".", "," or the Arabic "٫" as its
// separator. False for text that is not a number and for dates outside years 1-9999.
bool readJulian(QStringView Text, TDateTime& Value);

// The text without leading and trailing blanks and control characters.
QStringView trimBlanksAndControls(QStringView Text);
