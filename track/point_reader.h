#pragma once

#include <cstdint>

#include "platform/runtime_error.h"
#include "track/sensor_values.h"
#include "track/track_layout.h"
#include "track/track_point.h"

// The readers of the track formats other than a track file's point lines. Each yields the points
// of its format in file order, as a six-decimal point line would carry them, so the analysis
// never learns which format it read.
namespace at {

// Where a point lies in its file: a line of a text format, a byte offset of a binary one.
struct PointPlace {
    std::int64_t value = 0;
    bool byteOffset = false;

    void addTo(RuntimeError& error) const {
        if (byteOffset) {
            error.withByteOffset(value);
        } else {
            error.withLine(value);
        }
    }
};

class PointReader {
  public:
    virtual ~PointReader() = default;

    // The next point; false after the last one. A fault of the file ends reading with a
    // RuntimeError naming the file and where the fault lies.
    virtual bool next(TrackPoint& point) = 0;
    // The local date of the point read last, as days since 1899-12-30: what a point line carries
    // besides its time of day.
    virtual std::int32_t localDay() const = 0;
    // Where the point read last lies, for failures that analysing it raises.
    virtual PointPlace place() const = 0;
    // The sensors' values of the point read last; none for a format that records none.
    virtual SensorReading sensors() const { return {}; }
    // Closes the file; reading ended early closes it too, when the reader goes.
    virtual void close() = 0;

    // The track of the point read last (TrackLayout numbers them); a file of one track says 1.
    virtual int track() const { return 1; }
    // The instant of the point read last, seconds since 1970-01-01 UTC, to place laps by.
    virtual std::int64_t unixSeconds() const { return 0; }
    // What the file has said about its tracks so far; all of it once next() has returned false.
    virtual const TrackLayout& layout() const {
        static const TrackLayout none;
        return none;
    }
};

}  // namespace at
