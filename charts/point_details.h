#pragma once

#include <cstdint>
#include <vector>

#include "platform/date_time.h"

namespace at {

// What the analysis knows about one point once it has finished with it: the values the charts'
// hover read-out, a stretch's figures and the per-point export show.
struct PointDetail {
    std::int16_t point = 0;  // the chart row, 1 for the first point
    // The local date the file gives the point, days since 1899-12-30; 0 when it gives none.
    std::int32_t localDay = 0;
    // The time of day, plus a day for every midnight the track has crossed before this point.
    DateTime timeOfDay = 0.0;
    std::int32_t latitudeDigits = 0;  // millionths of a degree for six-decimal files
    std::int32_t longitudeDigits = 0;
    double altitudeMetres = 0.0;  // as the profile draws it: a point without one repeats the last
    double speedKmh = 0.0;
    // Totals as they stood after this point, so that a stretch is the difference of two points.
    float distanceKm = 0.0f;
    double accumulatedClimb = 0.0;
};

// Where the analysis hands its points, beside the two profiles: once at the start of a track,
// then once for every point after its last step.
class PointDetails {
  public:
    virtual ~PointDetails() = default;
    virtual void beginTrack() = 0;
    virtual void addPoint(const PointDetail& detail) = 0;
};

// The points of the last analysis, in track order.
class PointTable final : public PointDetails {
  public:
    void beginTrack() override { points_.clear(); }
    void addPoint(const PointDetail& detail) override { points_.push_back(detail); }

    const std::vector<PointDetail>& points() const { return points_; }
    bool empty() const { return points_.empty(); }
    // The date of the activity, that of its first point; 0 when the file gives none.
    std::int32_t firstDay() const { return points_.empty() ? 0 : points_.front().localDay; }
    // The point drawn in chart row `row`; none for a row the last analysis did not reach.
    const PointDetail* atRow(int row) const;

  private:
    std::vector<PointDetail> points_;
};

}  // namespace at
