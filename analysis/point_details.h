#pragma once

#include <cstdint>
#include <vector>

#include "platform/date_time.h"
#include "track/sensor_values.h"

namespace at {

// What the analysis knows about one point once it has finished with it: the values the charts'
// hover read-out, a stretch's figures and the per-point export show. Whatever else a point comes
// to carry (facts about the leg that ends at it, a sensor's value) belongs here, beside them.
struct PointDetail {
    std::int32_t point = 0;  // the chart row, 1 for the first point
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
    // The flags sit beside the float, in room the alignment leaves anyway.
    // False for every point of a track analysed without times: its time and speed are unknown.
    bool hasTime = true;
    // The leg from the point before was set aside as a GPS jump: it added no distance.
    bool gpsJump = false;
    // False when the point has no altitude of its own: altitudeMetres repeats the last one.
    bool hasAltitude = true;
    double accumulatedClimb = 0.0;
};

// The points of an analysis by their chart rows, in track order, as the pass hands them over.
class PointTable {
  public:
    void beginTrack() {
        points_.clear();
        sensors_.clear();
    }
    void addPoint(const PointDetail& detail) { points_.push_back(detail); }
    // The sensors' values of the point added last.
    void addSensors(const SensorReading& reading) {
        if (!points_.empty())
            sensors_.set(points_.size() - 1, reading);
    }

    const std::vector<PointDetail>& points() const { return points_; }
    // By index in points().
    const SensorColumns& sensors() const { return sensors_; }
    bool empty() const { return points_.empty(); }
    // The point drawn in chart row `row`; none for a row the last analysis did not reach.
    const PointDetail* atRow(int row) const;

  private:
    std::vector<PointDetail> points_;
    SensorColumns sensors_;
};

}  // namespace at
