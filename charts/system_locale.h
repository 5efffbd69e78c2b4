#pragma once

#include "platform/number_locale.h"

namespace at {

// The decimal separator the regional settings give, or "." when they give none.
NumberLocale numberLocaleFromDecimalPoint(const char* decimalPoint);

// The user's regional settings as the window sees them: Qt's own locale data for LC_ALL,
// LC_NUMERIC or LANG, so that the command line and the window agree even where the C library
// has no such locale generated.
NumberLocale systemNumberLocale();

}  // namespace at
