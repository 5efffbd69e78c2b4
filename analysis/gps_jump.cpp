#include "analysis/gps_jump.h"

#include <algorithm>

#include "platform/checked.h"

namespace at {
namespace {

constexpr double kShortestJumpKm = 0.1;
constexpr double kSlowestJumpKmh = 100.0;
constexpr double kJumpOverPreviousSpeed = 4.0;
constexpr int kMostJumpsInARow = 2;

}  // namespace

bool GpsJumps::setAside(double stepKm, std::int64_t legSeconds, double previousSpeedKmh) {
    const auto seconds = static_cast<double>(std::max<std::int64_t>(legSeconds, 1));
    const double legKmh = stepKm / seconds * 3600.0;
    const bool jump = stepKm > kShortestJumpKm && legKmh > kSlowestJumpKmh &&
                      legKmh > kJumpOverPreviousSpeed * previousSpeedKmh;
    if (!jump || inARow_ == kMostJumpsInARow) {
        inARow_ = 0;
        return false;
    }
    ++inARow_;
    count_ = add32(count_, 1);
    return true;
}

}  // namespace at
