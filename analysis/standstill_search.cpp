#include "analysis/standstill_search.h"

namespace at {
namespace {

constexpr double kStandstillRadiusKm = 0.025;

}  // namespace

const std::vector<Stop>& StandstillSearch::add(const StandstillPoint& point) {
    found_.clear();
    points_.push_back(point);
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
        const std::optional<std::size_t> past = firstPointPastThreshold();
        if (!past) {
            // Every point so far lies within the threshold of the anchor: too short, unless
            // more points come.
            if (!trackEnded)
                return;
            dropAnchor();
        } else if (reaches(*past)) {
            holds_ = true;
            lastMember_ = *past;
            followed_ = *past + 1;
        } else {
            dropAnchor();
        }
    }
}

std::optional<std::size_t> StandstillSearch::firstPointPastThreshold() {
    const std::int64_t anchorSeconds = points_.front().seconds;
    for (; nextCandidate_ < points_.size(); ++nextCandidate_) {
        const StandstillPoint& point = points_[nextCandidate_];
        if (!point.gpsJump && point.seconds - anchorSeconds > threshold_)
            return nextCandidate_;
    }
    return std::nullopt;
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
    // A distance too large to work out is simply not within the circle.
    const std::optional<double> km = distanceStepKm(points_.front().position, point.position);
    return !km || *km > kStandstillRadiusKm;
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
    points_.erase(points_.begin(), points_.begin() + static_cast<std::ptrdiff_t>(lastMember_) + 1);
    nextCandidate_ = 1;
}

void StandstillSearch::dropAnchor() {
    // While the clock runs on, no point before the one found past the old anchor's threshold is
    // past the next anchor's: the search goes on from there.
    const bool clockRunsOn = points_.size() > 1 && points_[1].seconds >= points_[0].seconds;
    points_.pop_front();
    nextCandidate_ = clockRunsOn && nextCandidate_ > 1 ? nextCandidate_ - 1 : 1;
}

}  // namespace at
