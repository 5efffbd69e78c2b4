#include "platform/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace at {
namespace {

// Writes `digits` (significant digits, no trailing zeros) with decimal exponent `exponent` (the
// power of ten of the first digit) the way %G does with a precision of `precision`: positional
// notation when -4 <= exponent < precision, otherwise d.dddE+NN.
std::size_t layOut(char* out, bool negative, const char* digits, int count, int exponent,
                   int precision) {
    char* p = out;
    if (negative)
        *p++ = '-';
    if (exponent < -4 || exponent >= precision) {
        *p++ = digits[0];
        if (count > 1) {
            *p++ = '.';
            for (int i = 1; i < count; ++i)
                *p++ = digits[i];
        }
        *p++ = 'e';
        *p++ = exponent < 0 ? '-' : '+';
        const int magnitude = std::abs(exponent);
        if (magnitude >= 100)
            *p++ = static_cast<char>('0' + magnitude / 100);
        *p++ = static_cast<char>('0' + magnitude / 10 % 10);
        *p++ = static_cast<char>('0' + magnitude % 10);
    } else if (exponent < 0) {
        *p++ = '0';
        *p++ = '.';
        for (int i = -1; i > exponent; --i)
            *p++ = '0';
        for (int i = 0; i < count; ++i)
            *p++ = digits[i];
    } else {
        for (int i = 0; i <= exponent; ++i)
            *p++ = i < count ? digits[i] : '0';
        if (count > exponent + 1) {
            *p++ = '.';
            for (int i = exponent + 1; i < count; ++i)
                *p++ = digits[i];
        }
    }
    return static_cast<std::size_t>(p - out);
}

// The text of %.15G for a double without printf's arbitrary-precision machinery: the value is
// scaled to a 15-digit whole number in extended precision (10^k and the product are exact to far
// below half a unit), rounded, and laid out. Values too large or too small for that, and products
// too close to a rounding tie to decide safely, go the slow, exact way.
std::size_t generalText(char* out, double value, int precision) {
    constexpr int kDigits = 15;
    const double magnitude = std::fabs(value);
    if (precision == kDigits && magnitude >= 1e-12 && magnitude < 1e15) {
        int exponent = static_cast<int>(std::floor(std::log10(magnitude)));
        for (int attempt = 0; attempt < 2; ++attempt) {
            const int k = kDigits - 1 - exponent;
            long double scale = 1.0L;
            for (int i = 0; i < k; ++i)
                scale *= 10.0L;
            // log10 of a value just under 10^15 rounds up to 15: the inexact downscale only has
            // to show that the exponent is one too large.
            for (int i = 0; i > k; --i)
                scale /= 10.0L;
            const long double scaled = static_cast<long double>(magnitude) * scale;
            if (scaled < 1e14L) {
                --exponent;
                continue;
            }
            if (scaled >= 1e15L) {
                ++exponent;
                continue;
            }
            const long double whole = std::floor(scaled);
            const long double fraction = scaled - whole;
            if (std::fabs(fraction - 0.5L) < 1e-3L)
                break;  // too close to a tie
            auto digitsValue = static_cast<std::uint64_t>(whole) + (fraction > 0.5L ? 1 : 0);
            if (digitsValue == 1000000000000000ull) {
                digitsValue = 100000000000000ull;
                ++exponent;
            }
            char digits[kDigits];
            for (int i = kDigits - 1; i >= 0; --i) {
                digits[i] = static_cast<char>('0' + digitsValue % 10);
                digitsValue /= 10;
            }
            int count = kDigits;
            while (count > 1 && digits[count - 1] == '0')
                --count;
            return layOut(out, std::signbit(value), digits, count, exponent, precision);
        }
    }
    const auto result = std::to_chars(out, out + 64, value, std::chars_format::general, precision);
    return static_cast<std::size_t>(result.ptr - out);
}

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
    // Same text as printf's %.<n>G: trailing zeros and a bare decimal point are dropped.
    const std::size_t length = generalText(buffer, value, significantDigits);
    std::size_t point = length;
    for (std::size_t i = 0; i < length; ++i) {
        if (buffer[i] == '.')
            point = i;
        if (buffer[i] == 'e')
            buffer[i] = 'E';
    }
    if (point == length || locale.decimalSeparator == ".") {
        out.append(buffer, length);
        return;
    }
    out.append(buffer, point);
    out += locale.decimalSeparator;
    out.append(buffer + point + 1, length - point - 1);
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
