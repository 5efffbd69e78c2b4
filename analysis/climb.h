#pragma once

#include <cstdint>
#include <limits>

namespace at {

// The accumulated climb and the samples discarded as erroneous, step by step. A leg of 16 s or
// more takes the plain altitude step: a rise below the limit is climb, one above it a discarded
// sample. Receivers that record every second or so see their altitude wobble by a metre or two
// from one sample to the next, and counting every wobble doubles the climb; so on a shorter leg a
// rise counts only once the altitude stands 2 m or more above a reference altitude, which follows
// the altitude down as readily and keeps still inside that band.
class Climb {
  public:
    explicit Climb(std::int16_t altitudeJumpLimit) : limit_(altitudeJumpLimit) {}

    // What a leg of a track without times lasts: they all count as long.
    static constexpr std::int64_t kUntimedLegSeconds = std::numeric_limits<std::int64_t>::max();

    // The altitude step of a leg from `previous` to `altitude` metres lasting `legSeconds` whole
    // seconds.
    void step(double previous, double altitude, std::int64_t legSeconds);
    // A point that takes no altitude step but has an altitude: the reference starts again there.
    void restartAt(double altitude) { reference_ = altitude; }

    double accumulated() const { return accumulated_; }
    std::int32_t discarded() const { return discarded_; }

  private:
    std::int16_t limit_;
    double reference_ = 0.0;
    double accumulated_ = 0.0;
    std::int32_t discarded_ = 0;
};

}  // namespace at
