#pragma once

#include <cstdint>
#include <limits>

#include "platform/runtime_error.h"

// Fixed-width arithmetic of the program: the thresholds, counts, row numbers and altitudes are
// 16-bit, coordinates and second totals 32-bit. Leaving the range is an overflow error, never a
// wrap-around.
namespace at {

template <typename Narrow>
Narrow narrowChecked(std::int64_t value) {
    if (value < std::numeric_limits<Narrow>::min() || value > std::numeric_limits<Narrow>::max()) {
        throw RuntimeError(ErrorKind::Overflow, "El valor " + std::to_string(value) +
                                                    " no cabe en un entero de " +
                                                    std::to_string(8 * sizeof(Narrow)) + " bits.");
    }
    return static_cast<Narrow>(value);
}

inline std::int16_t toInt16Checked(std::int64_t v) {
    return narrowChecked<std::int16_t>(v);
}
inline std::int32_t toInt32Checked(std::int64_t v) {
    return narrowChecked<std::int32_t>(v);
}

inline std::int16_t add16(std::int16_t a, std::int16_t b) {
    return toInt16Checked(std::int64_t{a} + b);
}
inline std::int16_t mul16(std::int16_t a, std::int16_t b) {
    return toInt16Checked(std::int64_t{a} * b);
}
inline std::int32_t add32(std::int32_t a, std::int32_t b) {
    return toInt32Checked(std::int64_t{a} + b);
}
inline std::int32_t sub32(std::int32_t a, std::int32_t b) {
    return toInt32Checked(std::int64_t{a} - b);
}

}  // namespace at
