#pragma once

#include <cstdint>
#include <vector>

#include "analysis/distance_step.h"
#include "analysis/sliding_queue.h"
#include "analysis/stop_check.h"

namespace at {

// A point as the standstill search takes it.
struct StandstillPoint {
    std::int32_t row = 0;
    // Whole seconds of its time, running on past midnight as the track does.
    std::int64_t seconds = 0;
    StepPoint position;
    // The distance after the point before it.
    float kmBefore = 0.0f;
    // Its leg was set aside as a GPS jump: it neither ends nor joins a stretch.
    bool gpsJump = false;
    // Its leg is a gap stop: no stretch reaches over it.
    bool gapStop = false;
};

// Stops while the receiver goes on recording, as phones and most receivers do during a rest: a
// stretch of points a..b in which every point lies within 25 m of point a, with no gap stop
// between two of them, lasting longer than the stop threshold. Stretches are looked for from the
// first point on: from an anchor, points are taken while they lie within 25 m of it; a stretch
// that qualifies is a stop and the point after it the next anchor, otherwise the point after the
// anchor is. A stop reads like a gap stop: the km after the point before its first point, and its
// length.
//
// The search decides as the points come and does not go back over a walk: a stretch can only
// qualify if it still holds at the first point more than the threshold after its anchor, so that
// point is measured first, and the points before it only when it lies inside the circle. A walker
// is far away by then: most anchors are decided by one distance, and the points measured again are
// those of a stretch that turns out to be a stop. The points from the anchor on are kept, so that
// a track whose clock runs backwards is decided exactly too.
class StandstillSearch {
  public:
    // A threshold below 0 looks for gap stops only: the caller does not search then.
    explicit StandstillSearch(std::int16_t stopGapSeconds) : threshold_(stopGapSeconds) {}

    // Takes the next point of the track; returns the stops it closed, in track order. The list
    // is valid until the next call.
    const std::vector<Stop>& add(const StandstillPoint& point);
    // The end of the track: the stretch still open is decided there.
    const std::vector<Stop>& finish();

  private:
    void decide(bool trackEnded);
    // Moves nextCandidate_ to the first point after the anchor, not a jump, more than the
    // threshold after it; false when there is none yet.
    bool findPointPastThreshold();
    // Whether the anchor's stretch takes every point up to `past`.
    bool reaches(std::size_t past) const;
    // Follows the stretch through the points not yet taken; true when one of them closes it.
    bool followStretch();
    bool closes(const StandstillPoint& point) const;
    void closeStretch();
    void dropAnchor();

    std::int16_t threshold_;
    // From the anchor on: points_.front() is the anchor.
    SlidingQueue<StandstillPoint> points_;
    // The anchor's stretch reaches past the threshold: it is followed point by point.
    bool holds_ = false;
    std::size_t lastMember_ = 0;
    std::size_t followed_ = 0;
    // No point before this one is more than the threshold after the anchor.
    std::size_t nextCandidate_ = 1;
    std::vector<Stop> found_;
};

}  // namespace at
