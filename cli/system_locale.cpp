#include "cli/system_locale.h"

#include <clocale>

namespace at {

NumberLocale numberLocaleFromDecimalPoint(const char* decimalPoint) {
    if (decimalPoint == nullptr || *decimalPoint == '\0')
        return NumberLocale::point();
    return NumberLocale{decimalPoint};
}

NumberLocale systemNumberLocale() {
    return numberLocaleFromDecimalPoint(std::localeconv()->decimal_point);
}

}  // namespace at
