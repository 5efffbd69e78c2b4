#include "charts/system_locale.h"

#include <QLocale>

namespace at {

NumberLocale numberLocaleFromDecimalPoint(const char* decimalPoint) {
    if (decimalPoint == nullptr || *decimalPoint == '\0')
        return NumberLocale::point();
    return NumberLocale{decimalPoint};
}

NumberLocale systemNumberLocale() {
    return numberLocaleFromDecimalPoint(QLocale::system().decimalPoint().toStdString().c_str());
}

}  // namespace at
