#include "analysis/standstill_search.h"

#include <cstdlib>

namespace at {
namespace {

constexpr double kStandstillRadiusKm = 0.025;
// 225 millionths of a degree of latitude alone are 25.03 m: beyond the circle whatever the
// longitude.
constexpr std::int64_t kLatitudeBeyondRadius = 225;
// A kilometre of longitude is never fewer millionths of a degree than at the equator, so this
// bounds the step from above; under 24 m by that bound, the step is within 25 m by far more than
// its rounding.
constexpr double kSurelyWithinSquared = 0.024 * 0.024;
constexpr double kKmSquaredPerLatitudeUnitSquared = 1.0 / kLatitudeUnitsPerKmSquared;
constexpr double kKmSquaredPerLongitudeUnitSquaredAtMost =
    1.0 / (kLongitudeUnitsPerKmAtEquator * kLongitudeUnitsPerKmAtEquator);

// Whether `point` lies within 25 m of `anchor` by the pass's own distance step. Most points of a
// walk are far beyond, and most of a rest well inside: two cheap bounds decide those without the
// step's divisions and square root.
bool withinRadius(const StepPoint& anchor, const StepPoint& point) {
    const std::int64_t dLat = std::int64_t{point.latitude} - anchor.latitude;
    if (std::llabs(dLat) >= kLatitudeBeyondRadius)
        return false;
    const std::int64_t dLon = std::int64_t{point.longitude} - anchor.longitude;
    const auto lat = static_cast<double>(dLat);
    const auto lon = static_cast<double>(dLon);
    if (lat * lat * kKmSquaredPerLatitudeUnitSquared +
            lon * lon * kKmSquaredPerLongitudeUnitSquaredAtMost <
        kSurelyWithinSquared) {
        return true;
    }
    // A distance too large to work out is simply not within the circle.
    const std::optional<double> km = distanceStepKm(anchor, point);
    return km && *km <= kStandstillRadiusKm;
}

}  // namespace

const std::vector<Stop>& StandstillSearch::add(const StandstillPoint& point) {
    found_.clear();
    points_.pushBack(point);
    decide(false);
    return found_;
}

const std::vector<Stop>& StandstillSearch::finish() {
    found_.clear();
    decide(true);
    return found_;
}

void StandstillSearch::decide(bool trackEnded) {
    while (!points_.empty()) {
        if (holds_) {
            if (!followStretch() && !trackEnded)
                return;
            closeStretch();
            continue;
        }
        if (!findPointPastThreshold()) {
            // Every point so far lies within the threshold of the anchor: too short, unless
            // more points come.
            if (!trackEnded)
                return;
            dropAnchor();
        } else if (reaches(nextCandidate_)) {
            holds_ = true;
            lastMember_ = nextCandidate_;
            followed_ = nextCandidate_ + 1;
        } else {
            dropAnchor();
        }
    }
}

bool StandstillSearch::findPointPastThreshold() {
    const std::int64_t anchorSeconds = points_.front().seconds;
    for (; nextCandidate_ < points_.size(); ++nextCandidate_) {
        const StandstillPoint& point = points_[nextCandidate_];
        if (!point.gpsJump && point.seconds - anchorSeconds > threshold_)
            return true;
    }
    return false;
}

bool StandstillSearch::reaches(std::size_t past) const {
    // The point past the threshold first: it decides most anchors.
    if (closes(points_[past]))
        return false;
    for (std::size_t j = 1; j < past; ++j) {
        if (closes(points_[j]))
            return false;
    }
    return true;
}

bool StandstillSearch::followStretch() {
    for (; followed_ < points_.size(); ++followed_) {
        const StandstillPoint& point = points_[followed_];
        if (closes(point))
            return true;
        if (!point.gpsJump)
            lastMember_ = followed_;
    }
    return false;
}

bool StandstillSearch::closes(const StandstillPoint& point) const {
    if (point.gapStop)
        return true;
    if (point.gpsJump)
        return false;
    return !withinRadius(points_.front().position, point.position);
}

void StandstillSearch::closeStretch() {
    holds_ = false;
    const StandstillPoint& anchor = points_.front();
    const std::int64_t length = points_[lastMember_].seconds - anchor.seconds;
    // Past the threshold once, a stretch can end shorter only if its clock ran backwards.
    if (length <= threshold_) {
        dropAnchor();
        return;
    }
    found_.push_back(Stop{anchor.kmBefore, length, anchor.row});
    points_.dropFront(lastMember_ + 1);
    nextCandidate_ = 1;
}

void StandstillSearch::dropAnchor() {
    // While the clock runs on, no point before the one found past the old anchor's threshold is
    // past the next anchor's: the search goes on from there.
    const bool clockRunsOn = points_.size() > 1 && points_[1].seconds >= points_[0].seconds;
    points_.dropFront();
    nextCandidate_ = clockRunsOn && nextCandidate_ > 1 ? nextCandidate_ - 1 : 1;
}

}  // namespace at
