#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/date_time.h"
#include "platform/number_locale.h"

// Text to number. Every failure is a RuntimeError: text that is not a number is a type mismatch,
// a number outside the target width an overflow.
namespace at {

// Leading and trailing blanks (spaces and tabs) removed.
std::string_view trimBlanks(std::string_view text);

bool isBlank(std::string_view text);

// A text box's text as typed by the user: blanks around it are ignored, an optional sign, digits
// and the locale's decimal separator; a fraction is rounded half to even.
std::int16_t textToInt16(std::string_view text, const NumberLocale& locale);

// A decimal number with "." as its decimal point whatever the locale, as GPS software writes
// numbers into track files. Blanks around it are ignored. No value if the text is no such number.
std::optional<double> parseInvariantDecimal(std::string_view text);

// A whole number: blanks around it, an optional sign, digits. Beyond 32 bits it overflows.
std::int32_t digitsToInt32(std::string_view text);

// Decimal degrees ("-3.7037905", "39.9847") as millionths of a degree: the decimals brought to
// six, padded or rounded half to even on the digits themselves, so that 0.0000005 gives 0 and
// 0.0000015 gives 2. Nothing else is allowed around it (callers trim what their format allows),
// nor exponents. No value when the text is no such number; a value beyond any coordinate is
// returned as it is (or as the largest of its sign), for the caller's overflow check.
std::optional<std::int64_t> decimalDegreesToMillionths(std::string_view text);

// "hh:mm:ss" (or "hh:mm", one-digit parts allowed) to the fraction of a day. Hours above 23,
// minutes or seconds above 59 and anything else are a type mismatch.
DateTime textToTimeOfDay(std::string_view text);

}  // namespace at
