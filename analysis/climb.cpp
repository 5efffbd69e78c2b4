#include "analysis/climb.h"

#include "platform/checked.h"

namespace at {
namespace {

constexpr std::int64_t kShortestLongLegSeconds = 16;
constexpr double kDeadBandMetres = 2.0;

}  // namespace

void Climb::step(double previous, double altitude, std::int64_t legSeconds) {
    const double diff = altitude - previous;
    if (legSeconds >= kShortestLongLegSeconds) {
        // Both tests are strict: a step exactly at the limit is neither climbed nor discarded.
        if (diff > 0 && diff < limit_)
            accumulated_ += diff;
        if (diff > limit_)
            discarded_ = add32(discarded_, 1);
    } else if (diff > limit_) {
        discarded_ = add32(discarded_, 1);
    } else if (altitude - reference_ >= kDeadBandMetres) {
        accumulated_ += altitude - reference_;
    } else if (reference_ - altitude < kDeadBandMetres) {
        return;  // inside the band the reference stays where it is
    }
    reference_ = altitude;
}

}  // namespace at
