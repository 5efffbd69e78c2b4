#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "analysis/point_details.h"

namespace at {

// One lap of a track, its figures worked out from its own points rather than taken from the file.
// A lap runs from the point where it begins to the point where the next one begins (the last to
// the track's last point), so that the laps add up to the whole track.
struct Lap {
    int number = 0;        // from 1
    std::int32_t row = 0;  // the chart row of the point where it begins
    float distanceKm = 0.0f;
    std::int64_t seconds = 0;
    // km/h over the lap's elapsed time; none for a lap without time.
    std::optional<double> meanSpeedKmh;
    // Beats per minute over the lap's points that have a heart rate; none when none has.
    std::optional<double> meanHeartRate;
};

// The laps of a track, gathered point by point as the pass hands the points over.
class LapSplits {
  public:
    // `startsLap` when the file says a lap begins at this point; `heartRate` when the point has
    // one.
    void takePoint(const PointDetail& point, bool startsLap, std::optional<float> heartRate);
    // The laps found, the last one closed at the last point taken.
    std::vector<Lap> finish();

  private:
    void close(const PointDetail& end);

    std::vector<Lap> laps_;
    std::optional<PointDetail> lapStart_;
    std::optional<PointDetail> last_;
    double heartRateSum_ = 0.0;
    std::int64_t heartRateCount_ = 0;
};

}  // namespace at
