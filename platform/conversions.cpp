#include "platform/conversions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/checked.h"
#include "platform/rounding.h"
#include "platform/runtime_error.h"

namespace at {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// An append-only text that needs the heap only beyond 64 characters.
class SmallText {
  public:
    explicit SmallText(std::size_t capacity)
        : heap_(capacity > sizeof local_ ? new char[capacity] : nullptr),
          data_(heap_ ? heap_.get() : local_) {}
    SmallText& operator+=(char c) {
        data_[size_++] = c;
        return *this;
    }
    char operator[](std::size_t i) const { return data_[i]; }
    const char* data() const { return data_; }
    std::size_t size() const { return size_; }

  private:
    char local_[64];
    std::unique_ptr<char[]> heap_;
    char* data_;
    std::size_t size_ = 0;
};

[[noreturn]] void throwMismatch(std::string_view text, const char* what) {
    throw RuntimeError(ErrorKind::TypeMismatch, what).withText(std::string(text));
}

// Parses [sign] digits [separator digits] with at least one digit; the separator is given.
// Returns no value when the text has any other form.
std::optional<double> parseDecimal(std::string_view text, std::string_view separator) {
    text = trimBlanks(text);
    // The number rewritten with "." as its decimal point; short texts stay on the stack.
    SmallText canonical(text.size() + 1);
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            canonical += '-';
        ++i;
    }
    bool anyDigit = false;
    bool seenSeparator = false;
    // For the exact fast path: the digits as a whole number, how many count, how many are decimals.
    std::uint64_t mantissa = 0;
    int significantDigits = 0;
    int decimals = 0;
    while (i < text.size()) {
        if (isDigit(text[i])) {
            canonical += text[i];
            anyDigit = true;
            if (significantDigits < 16) {
                mantissa = mantissa * 10 + static_cast<std::uint64_t>(text[i] - '0');
                if (mantissa != 0)
                    ++significantDigits;
            }
            if (seenSeparator)
                ++decimals;
            ++i;
        } else if (!seenSeparator && !separator.empty() &&
                   text.substr(i, separator.size()) == separator) {
            canonical += '.';
            seenSeparator = true;
            i += separator.size();
        } else {
            return std::nullopt;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    // Up to 15 digits and 10^decimals are exact doubles, so one correctly rounded division gives
    // the correctly rounded value, as the full conversion below would.
    constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                       1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (significantDigits <= 15 && decimals <= 22) {
        const double value = static_cast<double>(mantissa) / kPowersOfTen[decimals];
        return canonical[0] == '-' ? -value : value;
    }
    double value = 0.0;
    const char* first = canonical.data();
    const char* last = first + canonical.size();
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec == std::errc::result_out_of_range) {
        // Too large even for a double: certainly outside every integer width we use.
        return canonical[0] == '-' ? -HUGE_VAL : HUGE_VAL;
    }
    if (ec != std::errc() || end != last)
        return std::nullopt;
    return value;
}

}  // namespace

std::string_view trimBlanks(std::string_view text) {
    const auto isBlankChar = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlankChar(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlankChar(text.back()))
        text.remove_suffix(1);
    return text;
}

bool isBlank(std::string_view text) {
    return trimBlanks(text).empty();
}

std::int16_t textToInt16(std::string_view text, const NumberLocale& locale) {
    const auto value = parseDecimal(text, locale.decimalSeparator);
    if (!value)
        throwMismatch(text, "El texto no es un número.");
    const double rounded = roundHalfEven(*value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) {
        throw RuntimeError(ErrorKind::Overflow, "El número no cabe en un entero de 16 bits.")
            .withText(std::string(text));
    }
    return static_cast<std::int16_t>(rounded);
}

std::optional<double> parseInvariantDecimal(std::string_view text) {
    return parseDecimal(text, ".");
}

std::int32_t digitsToInt32(std::string_view text) {
    const std::string_view trimmed = trimBlanks(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < trimmed.size() && (trimmed[i] == '+' || trimmed[i] == '-')) {
        negative = trimmed[i] == '-';
        ++i;
    }
    if (i == trimmed.size())
        throwMismatch(text, "El texto no es un número entero.");
    std::int64_t magnitude = 0;
    bool tooLarge = false;
    for (; i < trimmed.size(); ++i) {
        if (!isDigit(trimmed[i]))
            throwMismatch(text, "El texto no es un número entero.");
        if (!tooLarge) {
            magnitude = magnitude * 10 + (trimmed[i] - '0');
            tooLarge = magnitude > (std::int64_t{1} << 32);
        }
    }
    if (tooLarge) {
        throw RuntimeError(ErrorKind::Overflow, "El número no cabe en un entero de 32 bits.")
            .withText(std::string(text));
    }
    try {
        return toInt32Checked(negative ? -magnitude : magnitude);
    } catch (RuntimeError& e) {
        e.withText(std::string(text));
        throw;
    }
}

DateTime textToTimeOfDay(std::string_view text) {
    const std::string_view t = trimBlanks(text);
    int parts[3] = {0, 0, 0};
    int count = 0;
    std::size_t i = 0;
    while (count < 3) {
        const std::size_t start = i;
        int value = 0;
        while (i < t.size() && isDigit(t[i]) && i - start < 2)
            value = value * 10 + (t[i++] - '0');
        if (i == start)
            throwMismatch(text, "El texto no es una hora.");
        parts[count++] = value;
        if (i == t.size() || count == 3)
            break;
        if (t[i] != ':')
            throwMismatch(text, "El texto no es una hora.");
        ++i;
    }
    if (i != t.size() || count < 2 || parts[0] > 23 || parts[1] > 59 || parts[2] > 59) {
        throwMismatch(text, "El texto no es una hora.");
    }
    return timeOfDayFromSeconds(std::int64_t{parts[0]} * 3600 + parts[1] * 60 + parts[2]);
}

namespace {

// Beyond this many digits before the point a number is no coordinate; it still overflows.
constexpr int kMostWholeDigits = 12;

}  // namespace

std::optional<std::int64_t> decimalDegreesToMillionths(std::string_view text) {
    const char* p = text.data();
    const char* const end = p + text.size();
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-'))
        negative = *p++ == '-';
    const char* whole = p;
    while (p != end && isDigit(*p))
        ++p;
    const char* const wholeEnd = p;
    const char* fraction = p;
    if (p != end && *p == '.') {
        fraction = ++p;
        while (p != end && isDigit(*p))
            ++p;
    }
    const char* const fractionEnd = p;
    if (p != end || (whole == wholeEnd && fraction == fractionEnd))
        return std::nullopt;

    while (whole != wholeEnd && *whole == '0')
        ++whole;
    if (wholeEnd - whole > kMostWholeDigits)
        return negative ? INT64_MIN : INT64_MAX;
    std::int64_t value = 0;
    for (; whole != wholeEnd; ++whole)
        value = value * 10 + (*whole - '0');
    const std::ptrdiff_t decimals = fractionEnd - fraction;
    for (std::ptrdiff_t d = 0; d < 6; ++d)
        value = value * 10 + (d < decimals ? fraction[d] - '0' : 0);
    if (decimals > 6) {
        // The digits behind the sixth decimal: the first decides, the rest only break a tie.
        const char first = fraction[6];
        const bool beyond = std::any_of(fraction + 7, fractionEnd, [](char c) { return c != '0'; });
        if (first > '5' || (first == '5' && (beyond || value % 2 != 0)))
            ++value;
    }
    return negative ? -value : value;
}

std::int64_t secondsBetween(DateTime from, DateTime to) {
    const auto wholeSeconds = [](DateTime t) {
        return static_cast<std::int64_t>(std::nearbyint(t * kSecondsPerDay));
    };
    return wholeSeconds(to) - wholeSeconds(from);
}

}  // namespace at
