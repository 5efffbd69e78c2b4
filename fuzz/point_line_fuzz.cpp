// The point-line cutter and its conversions on arbitrary bytes: a line either becomes a point or
// ends with a type mismatch or an overflow that names the field, never anything else.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/runtime_error.h"
#include "track/point_line.h"

namespace {

using at::fuzz::check;

bool isValidUtf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t n = b < 0x80                   ? 1
                        : (b >= 0xC2 && b <= 0xDF) ? 2
                        : (b >= 0xE0 && b <= 0xEF) ? 3
                        : (b >= 0xF0 && b <= 0xF4) ? 4
                                                   : 0;
        if (n == 0 || i + n > s.size())
            return false;
        for (std::size_t k = 1; k < n; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += n;
    }
    return true;
}

// The coordinate rules written out plainly. One ".": decimal degrees brought to six decimals,
// padded or rounded half to even. No "." or several: every "." dropped. Blanks around, a sign.
bool referenceCoordinate(std::string_view field, long long& value) {
    std::string text(field);
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return false;
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    const bool oneDecimalPoint = std::count(text.begin(), text.end(), '.') == 1;
    std::string digits;
    bool roundUp = false;
    if (oneDecimalPoint) {
        const std::size_t point = text.find('.');
        std::string fraction = text.substr(point + 1);
        std::string whole = text.substr(0, point);
        const std::string sign = !whole.empty() && (whole[0] == '+' || whole[0] == '-')
                                     ? whole.substr(0, 1)
                                     : std::string();
        whole = whole.substr(sign.size());
        if ((whole.empty() && fraction.empty()) ||
            (whole + fraction).find_first_not_of("0123456789") != std::string::npos)
            return false;
        const std::string kept = (fraction + "000000").substr(0, 6);
        const std::string dropped = fraction.size() > 6 ? fraction.substr(6) : std::string();
        digits = sign + whole + kept;
        if (!dropped.empty()) {
            const std::string half = "5" + std::string(dropped.size() - 1, '0');
            const bool odd = (kept.back() - '0') % 2 == 1;
            roundUp = dropped > half || (dropped == half && odd);
        }
    } else {
        for (const char c : text) {
            if (c != '.')
                digits += c;
        }
        // Blanks that stood between points and the ends are outer blanks now.
        const std::size_t start = digits.find_first_not_of(" \t");
        if (start == std::string::npos)
            return false;
        digits = digits.substr(start, digits.find_last_not_of(" \t") - start + 1);
        const std::size_t i = (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) ? 1 : 0;
        if (i == digits.size() || digits.find_first_not_of("0123456789", i) != std::string::npos)
            return false;
    }
    errno = 0;
    value = std::strtoll(digits.c_str(), nullptr, 10);
    // Far beyond 32 bits either way, where the conversion overflows too.
    if (errno != 0 || value == LLONG_MAX || value == LLONG_MIN)
        return false;
    if (roundUp)
        value += digits[0] == '-' ? -1 : 1;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);

    const std::string shown = at::displayableText(line);
    check(isValidUtf8(shown), "displayableText gives invalid UTF-8", shown);

    std::size_t commas = 0;
    for (const char c : line)
        commas += c == ',';
    try {
        const at::PointLineFields fields = at::cutPointLine(line);
        check(commas >= 6, "a line with fewer than six commas was cut", line);
        check(fields.time.data() + fields.time.size() == line.data() + line.size(),
              "field 7 is not the rest of the line", line);
    } catch (const at::RuntimeError& e) {
        check(commas < 6, "a line with six commas was refused", line);
        check(e.kind() == at::ErrorKind::TypeMismatch, "wrong kind for too few commas", line);
        return 0;
    }

    const at::PointLineFields fields = at::cutPointLine(line);
    try {
        const at::TrackPoint point = at::readPointLine(line);
        long long latitude = 0;
        long long longitude = 0;
        check(referenceCoordinate(fields.latitude, latitude) && latitude == point.latitudeDigits,
              "latitude differs from its plain reading", line);
        check(
            referenceCoordinate(fields.longitude, longitude) && longitude == point.longitudeDigits,
            "longitude differs from its plain reading", line);
        const double seconds = point.timeOfDay * 86400.0;
        check(point.timeOfDay >= 0.0 && point.timeOfDay < 1.0 &&
                  std::fabs(seconds - std::nearbyint(seconds)) < 1e-6,
              "time of day is not a whole second of one day", line);
    } catch (const at::RuntimeError& e) {
        check(e.kind() == at::ErrorKind::TypeMismatch || e.kind() == at::ErrorKind::Overflow,
              "a point line failed with a kind other than mismatch or overflow", line, e.what());
        check(e.field().has_value() && e.text().has_value(),
              "a conversion failure does not name its field and text", line, e.what());
        check(isValidUtf8(e.message()), "error message is not valid UTF-8", e.message());
        long long value = 0;
        const bool latitudeOk =
            referenceCoordinate(fields.latitude, value) && value >= INT32_MIN && value <= INT32_MAX;
        if (!latitudeOk)
            check(e.field()->find("latitud") != std::string::npos,
                  "a bad latitude is reported on another field", line, e.what());
    }
    return 0;
}
