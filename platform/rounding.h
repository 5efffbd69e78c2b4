#pragma once

#include <cmath>

namespace at {

// Half-to-even rounding to n decimals, the way the figures have always been rounded: the value is
// scaled by 10^n in double precision, rounded to the nearest whole number with ties to even, and
// scaled back. So 0.25 gives 0.2 and 2.5 gives 2.
inline double roundHalfEven(double x, int decimals = 0) {
    const double scale = std::pow(10.0, decimals);
    return std::nearbyint(x * scale) / scale;
}

// A single-precision value is widened, rounded and narrowed back, so its text keeps showing at
// most seven significant digits.
inline float roundHalfEven(float x, int decimals = 0) {
    return static_cast<float>(roundHalfEven(static_cast<double>(x), decimals));
}

// The whole part toward minus infinity: 99.9 gives 99, -0.5 gives -1.
inline double roundDown(double x) {
    return std::floor(x);
}

}  // namespace at
