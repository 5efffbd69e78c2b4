#include "platform/number_text.h"

#include <charconv>
#include <cmath>

namespace at {
namespace {

void appendGeneral(std::string& out, double value, int significantDigits,
                   const NumberLocale& locale) {
    if (std::isnan(value)) {
        out += "NaN";
        return;
    }
    if (std::isinf(value)) {
        out += value < 0 ? "-Infinito" : "Infinito";
        return;
    }
    if (value == 0.0)
        value = 0.0;  // "-0" shows as "0"
    char buffer[64];
    // Same text as printf's %.<n>G: trailing zeros and a bare decimal point are already dropped.
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::general, significantDigits);
    for (char* p = buffer; p != result.ptr; ++p) {
        switch (*p) {
            case '.':
                out += locale.decimalSeparator;
                break;
            case 'e':
                out += 'E';
                break;
            default:
                out += *p;
        }
    }
}

}  // namespace

void appendDouble(std::string& out, double value, const NumberLocale& locale) {
    appendGeneral(out, value, 15, locale);
}

void appendSingle(std::string& out, float value, const NumberLocale& locale) {
    appendGeneral(out, static_cast<double>(value), 7, locale);
}

std::string formatDouble(double value, const NumberLocale& locale) {
    std::string out;
    appendDouble(out, value, locale);
    return out;
}

std::string formatSingle(float value, const NumberLocale& locale) {
    std::string out;
    appendSingle(out, value, locale);
    return out;
}

std::string formatInteger(std::int64_t value) {
    return std::to_string(value);
}

}  // namespace at
