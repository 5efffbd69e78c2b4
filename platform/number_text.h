#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/date_time.h"
#include "platform/number_locale.h"

// The one rule by which numbers become text, for the window and the charts alike: the shortest
// form with at most 15 significant digits for doubles and 7 for single-precision values, no
// trailing zeros, no leading blank, an exponent as E+NN, and the locale's decimal separator.
// So 152.4 shows "152.4" (or "152,4") and 12.0 shows "12".
namespace at {

std::string formatDouble(double value, const NumberLocale& locale);
std::string formatSingle(float value, const NumberLocale& locale);
std::string formatInteger(std::int64_t value);

// The double that formatDouble's text reads back as: the value rounded to 15 significant digits.
// The charts are handed these, so that what they show is what the text says.
double roundToShownDigits(double value);

// Appending forms for hot loops: no temporary string.
void appendDouble(std::string& out, double value, const NumberLocale& locale);
void appendSingle(std::string& out, float value, const NumberLocale& locale);

// "-3.703790" of -3703790 millionths of a degree, with `separator` as the decimal mark: the
// coordinates written back digit for digit.
void appendMillionths(std::string& out, std::int32_t millionths, std::string_view separator);

// "hh:mm:ss" of the time of day of a date/time value (whole days dropped), whole seconds.
std::string formatTimeOfDay(DateTime value);

// "aaaa-mm-dd" of a count of days since 1899-12-30, as date/time values count them.
std::string formatDate(std::int32_t dayCount);

// Whole seconds as "01h 02' 05''": two digits at least for each part, hours in full beyond 99.
// A negative duration (a track that runs past midnight) gets a leading "-".
std::string formatDuration(std::int64_t seconds);

}  // namespace at
