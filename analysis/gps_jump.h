#pragma once

#include <cstdint>

namespace at {

// The legs of a track that are GPS jumps, decided leg by leg from what came before: a receiver's
// cold start or a spike of kilometres in a second, which would add distance nobody walked. A leg
// whose step is taken is set aside when it is longer than 100 m and its own speed (the step over
// its whole seconds, at least 1) is above 100 km/h and above four times the speed of the point
// before; but never a third in a row, so that a track that starts at speed with long legs does not
// lose every leg.
class GpsJumps {
  public:
    // The leg to the next point, `stepKm` long over `legSeconds` whole seconds, after a point at
    // `previousSpeedKmh`: true when it is set aside.
    bool setAside(double stepKm, std::int64_t legSeconds, double previousSpeedKmh);
    // A leg whose step is not taken (after a point at 0 ft) is not a jump, and breaks a run.
    void noStep() { inARow_ = 0; }
    // The legs set aside so far.
    std::int32_t count() const { return count_; }

  private:
    int inARow_ = 0;
    std::int32_t count_ = 0;
};

}  // namespace at
