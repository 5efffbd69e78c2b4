#include "platform/number_text.h"

#include <array>
#include <bit>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace at {
namespace {

// Writes `digits` (significant digits, no trailing zeros) with decimal exponent `exponent` (the
// power of ten of the first digit) the way %G does with a precision of `precision`: positional
// notation when -4 <= exponent < precision, otherwise d.dddE+NN.
std::size_t layOut(char* out, bool negative, const char* digits, int count, int exponent,
                   int precision, char point) {
    char* p = out;
    if (negative)
        *p++ = '-';
    if (exponent < -4 || exponent >= precision) {
        *p++ = digits[0];
        if (count > 1) {
            *p++ = point;
            for (int i = 1; i < count; ++i)
                *p++ = digits[i];
        }
        *p++ = 'E';
        *p++ = exponent < 0 ? '-' : '+';
        const int magnitude = std::abs(exponent);
        if (magnitude >= 100)
            *p++ = static_cast<char>('0' + magnitude / 100);
        *p++ = static_cast<char>('0' + magnitude / 10 % 10);
        *p++ = static_cast<char>('0' + magnitude % 10);
    } else if (exponent < 0) {
        *p++ = '0';
        *p++ = point;
        for (int i = -1; i > exponent; --i)
            *p++ = '0';
        for (int i = 0; i < count; ++i)
            *p++ = digits[i];
    } else {
        for (int i = 0; i <= exponent; ++i)
            *p++ = i < count ? digits[i] : '0';
        if (count > exponent + 1) {
            *p++ = point;
            for (int i = exponent + 1; i < count; ++i)
                *p++ = digits[i];
        }
    }
    return static_cast<std::size_t>(p - out);
}

constexpr int kExactPowers = 28;
// 5^0 to 5^27, the largest that fits 63 bits.
constexpr auto kPowersOfFive = [] {
    std::array<std::uint64_t, kExactPowers> powers{};
    std::uint64_t p = 1;
    for (auto& power : powers) {
        power = p;
        p *= 5;
    }
    return powers;
}();

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

constexpr int kShownDigits = 15;

// The first 15 significant digits of a double and the power of ten of the first one.
struct FifteenDigits {
    std::uint64_t digits;  // 10^14 <= digits < 10^15
    int exponent;
};

// The 15 digits of %.15G without printf's arbitrary-precision machinery. The value is
// mantissa × 2^e exactly; times 10^k = 5^k × 2^k it is the 128-bit integer mantissa × 5^k shifted
// by k + e, so the 15-digit whole part and its rounding (half to even, as printf rounds) come out
// exact. None for magnitudes outside [1e-12, 1e15), which go the library's way.
std::optional<FifteenDigits> fifteenDigits(double magnitude) {
    constexpr std::uint64_t kLowest = 100000000000000ull;   // 10^14
    constexpr std::uint64_t kBeyond = 1000000000000000ull;  // 10^15
    if (!(magnitude >= 1e-12 && magnitude < 1e15))
        return std::nullopt;
    // Every value in this range is a normal double: 52 stored bits below an implicit 1.
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const std::uint64_t mantissa =
        (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    const int e = static_cast<int>(bits >> 52) - 1075;  // magnitude = mantissa × 2^e
    // The value lies in [2^(e+52), 2^(e+53)), so its decimal exponent is floor((e + 52) ×
    // log10 2) or one more: the first guess is right or one too small, which the second
    // attempt mends. 78913 / 2^18 is log10 2 closely enough for these exponents.
    int exponent = ((e + 52) * 78913) >> 18;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int k = kShownDigits - 1 - exponent;
        if (k < 0 || k >= kExactPowers)
            break;
        const unsigned __int128 scaled =
            static_cast<unsigned __int128>(mantissa) * kPowersOfFive[k];
        const int shift = k + e;
        unsigned __int128 whole = 0;
        bool roundUp = false;
        if (shift >= 0) {
            if (shift > 12)
                break;  // not below 10^15; keeps the shift in range all the same
            whole = scaled << shift;
        } else {
            const int drop = -shift;
            if (drop >= 127)
                break;
            whole = scaled >> drop;
            const unsigned __int128 rest = scaled - (whole << drop);
            const unsigned __int128 half = static_cast<unsigned __int128>(1) << (drop - 1);
            roundUp = rest > half || (rest == half && (whole & 1) != 0);
        }
        if (whole >= kBeyond) {
            ++exponent;
            continue;
        }
        if (whole < kLowest) {
            --exponent;
            continue;
        }
        auto digits = static_cast<std::uint64_t>(whole) + (roundUp ? 1 : 0);
        if (digits == kBeyond) {
            digits = kLowest;
            ++exponent;
        }
        return FifteenDigits{digits, exponent};
    }
    return std::nullopt;
}

// The text of %.<precision>G with `point` as the decimal separator.
std::size_t generalText(char* out, double value, int precision, char point) {
    if (precision == kShownDigits) {
        if (const auto fifteen = fifteenDigits(std::fabs(value))) {
            std::uint64_t rest = fifteen->digits;
            char digits[kShownDigits];
            for (int i = kShownDigits - 1; i > 0; i -= 2) {
                const auto pair = static_cast<std::size_t>(rest % 100) * 2;
                digits[i - 1] = kDigitPairs[pair];
                digits[i] = kDigitPairs[pair + 1];
                rest /= 100;
            }
            digits[0] = static_cast<char>('0' + rest);
            int count = kShownDigits;
            while (count > 1 && digits[count - 1] == '0')
                --count;
            return layOut(out, std::signbit(value), digits, count, fifteen->exponent, precision,
                          point);
        }
    }
    const auto result = std::to_chars(out, out + 64, value, std::chars_format::general, precision);
    for (char* c = out; c != result.ptr; ++c) {
        if (*c == 'e')
            *c = 'E';
        else if (*c == '.')
            *c = point;
    }
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
    // The locale's separator is written in place when it is one character, as it nearly always is.
    const std::string& separator = locale.decimalSeparator;
    if (separator.size() == 1) {
        out.append(buffer, generalText(buffer, value, significantDigits, separator[0]));
        return;
    }
    const std::size_t length = generalText(buffer, value, significantDigits, '.');
    const void* found = std::memchr(buffer, '.', length);
    const std::size_t point =
        found ? static_cast<std::size_t>(static_cast<const char*>(found) - buffer) : length;
    out.append(buffer, point);
    if (point == length)
        return;
    out += separator;
    out.append(buffer + point + 1, length - point - 1);
}

}  // namespace

double roundToShownDigits(double value) {
    if (!std::isfinite(value))
        return value;
    if (value == 0.0)
        return 0.0;  // "-0" shows as "0"
    // The shown digits times a power of ten: one correctly rounded product or quotient where the
    // power is an exact double, as reading the text back rounds it.
    constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                       1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (const auto fifteen = fifteenDigits(std::fabs(value))) {
        const int scale = fifteen->exponent - (kShownDigits - 1);
        if (scale >= -22 && scale <= 22) {
            const auto digits = static_cast<double>(fifteen->digits);
            const double magnitude =
                scale >= 0 ? digits * kPowersOfTen[scale] : digits / kPowersOfTen[-scale];
            return std::signbit(value) ? -magnitude : magnitude;
        }
    }
    char text[64];
    const auto written =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, kShownDigits);
    double back = value;
    std::from_chars(text, written.ptr, back);
    return back;
}

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

void appendMillionths(std::string& out, std::int32_t millionths, std::string_view separator) {
    const std::int64_t value = millionths;
    const std::int64_t magnitude = value < 0 ? -value : value;
    if (value < 0)
        out += '-';
    out += std::to_string(magnitude / 1000000);
    out += separator;
    const std::string fraction = std::to_string(magnitude % 1000000);
    out.append(6 - fraction.size(), '0');
    out += fraction;
}

std::string formatTimeOfDay(DateTime value) {
    const auto perDay = static_cast<std::int64_t>(kSecondsPerDay);
    const std::int64_t total = secondsBetween(0.0, value);
    const std::int64_t s = ((total % perDay) + perDay) % perDay;
    const auto twoDigits = [](std::string& out, std::int64_t n) {
        out += static_cast<char>('0' + n / 10 % 10);
        out += static_cast<char>('0' + n % 10);
    };
    std::string text;
    twoDigits(text, s / 3600);
    text += ':';
    twoDigits(text, s / 60 % 60);
    text += ':';
    twoDigits(text, s % 60);
    return text;
}

std::string formatDate(std::int32_t dayCount) {
    const std::chrono::year_month_day date{
        std::chrono::sys_days(std::chrono::days(std::int64_t{dayCount} - kDayCountOfUnixEpoch))};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

std::string formatDuration(std::int64_t seconds) {
    const bool negative = seconds < 0;
    const std::uint64_t s =
        negative ? 0 - static_cast<std::uint64_t>(seconds) : static_cast<std::uint64_t>(seconds);
    char text[64];
    std::snprintf(text, sizeof text,
                  "%s%02llu"
                  "h %02llu' %02llu''",
                  negative ? "-" : "", static_cast<unsigned long long>(s / 3600),
                  static_cast<unsigned long long>(s % 3600 / 60),
                  static_cast<unsigned long long>(s % 60));
    return text;
}

}  // namespace at
