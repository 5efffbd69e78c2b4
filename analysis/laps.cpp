#include "analysis/laps.h"

namespace at {

void LapSplits::takePoint(const PointDetail& point, bool startsLap,
                          std::optional<float> heartRate) {
    if (startsLap) {
        if (lapStart_)
            close(point);
        lapStart_ = point;
        heartRateSum_ = 0.0;
        heartRateCount_ = 0;
    }
    if (lapStart_) {
        if (heartRate) {
            heartRateSum_ += *heartRate;
            ++heartRateCount_;
        }
    }
    last_ = point;
}

std::vector<Lap> LapSplits::finish() {
    if (lapStart_ && last_)
        close(*last_);
    lapStart_.reset();
    return std::move(laps_);
}

void LapSplits::close(const PointDetail& end) {
    Lap lap;
    lap.number = static_cast<int>(laps_.size()) + 1;
    lap.row = lapStart_->point;
    lap.distanceKm = end.distanceKm - lapStart_->distanceKm;
    lap.seconds = secondsBetween(lapStart_->timeOfDay, end.timeOfDay);
    if (lap.seconds > 0)
        lap.meanSpeedKmh = lap.distanceKm / (static_cast<double>(lap.seconds) / 3600.0);
    if (heartRateCount_ > 0)
        lap.meanHeartRate = heartRateSum_ / static_cast<double>(heartRateCount_);
    laps_.push_back(lap);
}

}  // namespace at
