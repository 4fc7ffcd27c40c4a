#pragma once
// Number and date formatting with the runtime's patterns. Texts are the
// system's 8-bit strings.

#include "DateTime.h"

#include <cstdint>
#include <string>

// The decimal separator that FormatFloat and FloatToStr write.
extern char DecimalSeparator;

// Formats Value by a pattern of digit placeholders: '0' always writes a
// digit, '#' only a significant one, one '.' marks the decimals; other
// characters are copied. "0.00" gives "3.14" for 3.14159, "000" gives "007"
// for 7. The value is rounded on its 18-digit decimal expansion, halves away
// from zero ("0.00" of 0.125 is "0.13"). A value that rounds to zero shows no
// minus sign. An empty pattern gives FloatToStr.
std::string FormatFloat(const std::string &Pattern, double Value);

// Formats a day count with the runtime's tokens: d, dd (day), m, mm (month,
// or minutes right after an h/hh token), yy, yyyy, h, hh, n, nn (minutes),
// s, ss, z, zzz (milliseconds); text in double or single quotes and every
// other character are copied. "dd.mm.yyyy" and "hh:mm:ss" are the usual ones.
std::string FormatDateTime(const std::string &Pattern, TDateTime Value);

std::string IntToStr(int64_t Value);
// Shortest general form with up to 15 significant digits ("0.5", "1E20").
std::string FloatToStr(double Value);
