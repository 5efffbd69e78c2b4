#pragma once

#include "platform/number_locale.h"

namespace at {

// The decimal separator the C library reports, or "." when it reports none.
NumberLocale numberLocaleFromDecimalPoint(const char* decimalPoint);

// The user's regional settings as the C library sees them after setlocale(LC_ALL, ""): the same
// LANG, LC_ALL and LC_NUMERIC that give the window a comma give the command line one.
NumberLocale systemNumberLocale();

}  // namespace at
