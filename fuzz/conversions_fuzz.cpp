// The text-to-number and number-to-text conversions against plain references built on the C
// library. Input: one byte choosing the conversion, then its text (or the bytes of a double).
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "formats/splitter.h"
#include "fuzz/fuzz_support.h"
#include "platform/conversions.h"
#include "platform/number_text.h"
#include "platform/runtime_error.h"

namespace {

using at::fuzz::check;

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// [sign] digits [separator digits], at least one digit, rewritten with "." for strtod.
std::optional<std::string> decimalText(const std::string& text, const std::string& separator) {
    std::string t = trimmed(text);
    std::string out;
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        out += t[i++];
    bool digit = false;
    bool separatorSeen = false;
    while (i < t.size()) {
        if (isDigit(t[i])) {
            out += t[i++];
            digit = true;
        } else if (!separatorSeen && t.compare(i, separator.size(), separator) == 0) {
            out += '.';
            separatorSeen = true;
            i += separator.size();
        } else {
            return std::nullopt;
        }
    }
    if (!digit)
        return std::nullopt;
    return out;
}

bool sameDouble(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

std::optional<at::ErrorKind> failureOf(auto&& run) {
    try {
        run();
    } catch (const at::RuntimeError& e) {
        return e.kind();
    }
    return std::nullopt;
}

void checkInt16(const std::string& text, const at::NumberLocale& locale) {
    std::int16_t got = 0;
    const auto failure = failureOf([&] { got = at::textToInt16(text, locale); });
    const auto canonical = decimalText(text, locale.decimalSeparator);
    if (!canonical) {
        check(failure == at::ErrorKind::TypeMismatch, "textToInt16 accepted a non-number", text);
        return;
    }
    const double rounded = std::nearbyint(std::strtod(canonical->c_str(), nullptr));
    if (rounded < -32768.0 || rounded > 32767.0) {
        check(failure == at::ErrorKind::Overflow, "textToInt16 did not overflow", text);
        return;
    }
    check(!failure && got == static_cast<int>(rounded), "textToInt16 reads another number", text,
          std::to_string(got));
}

void checkInt32(const std::string& text) {
    std::int32_t got = 0;
    const auto failure = failureOf([&] { got = at::digitsToInt32(text); });
    const std::string t = trimmed(text);
    const std::size_t start = (!t.empty() && (t[0] == '+' || t[0] == '-')) ? 1 : 0;
    if (start == t.size() || t.find_first_not_of("0123456789", start) != std::string::npos) {
        check(failure == at::ErrorKind::TypeMismatch, "digitsToInt32 accepted a non-integer", text);
        return;
    }
    errno = 0;
    const long long value = std::strtoll(t.c_str(), nullptr, 10);
    if (errno == ERANGE || value < INT32_MIN || value > INT32_MAX) {
        check(failure == at::ErrorKind::Overflow, "digitsToInt32 did not overflow", text);
        return;
    }
    check(!failure && got == value, "digitsToInt32 reads another number", text);
}

void checkInvariantDecimal(const std::string& text) {
    const auto got = at::parseInvariantDecimal(text);
    const auto canonical = decimalText(text, ".");
    check(got.has_value() == canonical.has_value(), "parseInvariantDecimal accepts another form",
          text);
    if (got) {
        const double expected = std::strtod(canonical->c_str(), nullptr);
        check(sameDouble(*got, expected), "parseInvariantDecimal differs from strtod", text,
              std::to_string(expected));
    }
}

void checkTime(const std::string& text) {
    double got = 0;
    const auto failure = failureOf([&] { got = at::textToTimeOfDay(text); });
    // h[h]:m[m][:s[s]], blanks around.
    const std::string t = trimmed(text);
    int parts[3] = {0, 0, 0};
    int count = 0;
    std::size_t i = 0;
    bool wellFormed = true;
    while (wellFormed && count < 3) {
        std::size_t digits = 0;
        while (i < t.size() && isDigit(t[i]) && digits < 2) {
            parts[count] = parts[count] * 10 + (t[i++] - '0');
            ++digits;
        }
        wellFormed = digits > 0;
        ++count;
        if (i == t.size())
            break;
        if (count < 3) {
            wellFormed = wellFormed && t[i] == ':';
            ++i;
        }
    }
    wellFormed = wellFormed && i == t.size() && count >= 2 && parts[0] <= 23 && parts[1] <= 59 &&
                 parts[2] <= 59;
    if (!wellFormed) {
        check(failure == at::ErrorKind::TypeMismatch, "textToTimeOfDay accepted a non-time", text);
        return;
    }
    const double seconds = parts[0] * 3600.0 + parts[1] * 60.0 + parts[2];
    check(!failure && got == seconds / 86400.0, "textToTimeOfDay reads another time", text);
}

void checkLeadingNumber(const std::string& text) {
    std::string compact;
    for (const char c : text) {
        if (c != ' ' && c != '\t' && c != '\n')
            compact += c;
    }
    std::size_t i = 0;
    if (i < compact.size() && (compact[i] == '+' || compact[i] == '-'))
        ++i;
    bool digit = false;
    bool point = false;
    for (; i < compact.size(); ++i) {
        if (isDigit(compact[i])) {
            digit = true;
        } else if (compact[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    const double expected = digit ? std::strtod(compact.substr(0, i).c_str(), nullptr) : 0.0;
    const double got = at::leadingNumber(text);
    check(got == expected && std::signbit(got) == std::signbit(expected),
          "leadingNumber differs from strtod", text, std::to_string(expected));
}

void checkFormat(double value, const at::NumberLocale& locale, bool single) {
    if (!std::isfinite(value))
        return;
    if (single) {
        if (std::fabs(value) > FLT_MAX)
            return;
        value = static_cast<float>(value);
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, single ? "%.7G" : "%.15G", value);
    std::string expected = buffer;
    if (expected == "-0")
        expected = "0";
    if (const auto point = expected.find('.'); point != std::string::npos)
        expected.replace(point, 1, locale.decimalSeparator);
    const std::string got = single ? at::formatSingle(static_cast<float>(value), locale)
                                   : at::formatDouble(value, locale);
    check(got == expected,
          single ? "formatSingle differs from %.7G" : "formatDouble differs from %.15G", got,
          expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    const at::NumberLocale locale =
        (data[0] & 0x80) ? at::NumberLocale::comma() : at::NumberLocale::point();
    switch (data[0] % 6) {
        case 0:
            checkInt16(text, at::NumberLocale::point());
            checkInt16(text, at::NumberLocale::comma());
            break;
        case 1:
            checkInt32(text);
            break;
        case 2:
            checkInvariantDecimal(text);
            break;
        case 3:
            checkTime(text);
            break;
        case 4:
            checkLeadingNumber(text);
            break;
        case 5: {
            // The bytes of a double, or its text for seeds that are easier to write.
            double value = 0;
            if (text.size() == sizeof value) {
                std::memcpy(&value, text.data(), sizeof value);
            } else {
                value = std::strtod(text.c_str(), nullptr);
            }
            checkFormat(value, locale, false);
            checkFormat(value, locale, true);
            break;
        }
    }
    return 0;
}
