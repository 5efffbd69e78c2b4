#pragma once

#include <cstdint>
#include <string>

#include "platform/number_locale.h"

// The one rule by which numbers become text, for the window and the charts alike: the shortest
// form with at most 15 significant digits for doubles and 7 for single-precision values, no
// trailing zeros, no leading blank, an exponent as E+NN, and the locale's decimal separator.
// So 152.4 shows "152.4" (or "152,4") and 12.0 shows "12".
namespace at {

std::string formatDouble(double value, const NumberLocale& locale);
std::string formatSingle(float value, const NumberLocale& locale);
std::string formatInteger(std::int64_t value);

// Appending forms for hot loops: no temporary string.
void appendDouble(std::string& out, double value, const NumberLocale& locale);
void appendSingle(std::string& out, float value, const NumberLocale& locale);

}  // namespace at
