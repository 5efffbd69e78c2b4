#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

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

// A measured value rounded half to even to a 16-bit integer; out of range it is an overflow
// with `detail` as its message.
inline std::int16_t roundToInt16Checked(double value, const char* detail) {
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        throw RuntimeError(ErrorKind::Overflow, detail);
    return static_cast<std::int16_t>(rounded);
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
// The same difference for a measure that simply does not apply where it leaves 32 bits: none
// then, and no error.
inline std::optional<std::int32_t> sub32IfFits(std::int32_t a, std::int32_t b) {
    const std::int64_t difference = std::int64_t{a} - b;
    if (difference < std::numeric_limits<std::int32_t>::min() ||
        difference > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(difference);
}

}  // namespace at
