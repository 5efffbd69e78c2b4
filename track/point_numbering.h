#pragma once

#include <cstdint>

#include "platform/checked.h"

// How wide the numbers of a track's points are: each point's number (its chart row), the number
// of points (the charts' row count), the stop count and the lines read. A track file keeps the
// 16 bits it always had, so a longer one overflows where it always did and the cut is the answer.
// GPX, TCX and FIT tracks number their points in 32 bits: a day at one point a second and more is
// analysed whole.
namespace at {

enum class PointNumbering { Bits16, Bits32 };

// The most points of a GPX, TCX or FIT track that are analysed: eleven and a half days at one
// point a second. The reader keeps no more than these.
constexpr std::int64_t kMostReadPoints = 1'000'000;

// `value` as a number of that width; beyond it an overflow error.
inline std::int32_t numbered(PointNumbering numbering, std::int64_t value) {
    if (numbering == PointNumbering::Bits16)
        return toInt16Checked(value);
    return toInt32Checked(value);
}

}  // namespace at
