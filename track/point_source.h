#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/runtime_error.h"
#include "track/point_numbering.h"
#include "track/sensor_values.h"
#include "track/track_layout.h"
#include "track/track_point.h"

// The points of a track as the analysis pass takes them, whatever the format of the file. A track
// file of point lines converts each field when the pass comes to it, so that a fault in the
// altitude shows only after the stop check of its point, as users of such files know it; the
// other formats hand out points already read.
namespace at {

class PointSource {
  public:
    virtual ~PointSource() = default;

    // How wide the numbers of the track's points are.
    virtual PointNumbering numbering() const = 0;
    // The number of points, for the size of the profiles; asked before the points are read.
    virtual std::int64_t countPoints() = 0;
    // How many of the points counted carry no time: a track with any is analysed without times.
    virtual std::int64_t pointsWithoutTime() const = 0;
    // Opens the track for reading its points (after the header, for a track file).
    virtual void open() = 0;
    virtual bool atEnd() = 0;
    // The next point's latitude, longitude and time of day; false when its line ends the point
    // data (a blank line in a track file).
    virtual bool readPoint(TrackPoint& point) = 0;
    // The altitude of the point read last.
    virtual std::int16_t altitudeFeet() = 0;
    // The local date of the point read last, as days since 1899-12-30; 0 when the file gives
    // none. The analysis never uses it; it is shown beside the results.
    virtual std::int32_t localDay() const = 0;
    // The sensors' values of the point read last; none for a track file of point lines.
    virtual SensorReading sensors() const { return {}; }
    // Adds the place of the point read last to a failure.
    virtual void locate(RuntimeError& error) const = 0;
    virtual void close() = 0;

    // Whether the point read last begins a lap the file marks.
    virtual bool startsLap() const { return false; }
    // What the file says of the track: its name and sport; nothing for a track file of point
    // lines, which says nothing of its activity.
    virtual std::optional<TrackHeading> heading() const { return std::nullopt; }
};

// The source of a track file of point lines.
std::unique_ptr<PointSource> openPointLineSource(const std::string& path);

}  // namespace at
