#include "analysis/duration.h"

#include <cstdio>

namespace at {

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
