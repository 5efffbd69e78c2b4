#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The same recorded track written in each format the program reads, by the tests themselves.
namespace at::test {

struct RecordedPoint {
    // Decimal degrees as the XML formats write them.
    std::string latitude;
    std::string longitude;
    // Metres, as written; none for a point recorded without elevation.
    std::optional<std::string> elevation;
    // Seconds since 1970-01-01 UTC; none for a point without time.
    std::optional<std::int64_t> unixSeconds;
};

// "2024-05-01T10:00:00Z".
std::string xmlTime(std::int64_t unixSeconds);

// A GPX 1.1 file: one trk, one trkseg per entry of `segments`.
std::string gpxText(const std::vector<std::vector<RecordedPoint>>& segments);
// A GPX file of several trk, each with its name, its type (left out when empty) and segments.
struct GpxTrack {
    std::string name;
    std::string type;
    std::vector<std::vector<RecordedPoint>> segments;
};
std::string gpxTracksText(const std::vector<GpxTrack>& tracks);

// Three outings of one logger in one GPX: "Mañana" (running, two segments, 4 points, 1 May),
// "Tarde" (3 points, 1 May) and "Noche" (5 points, 2 May).
std::string threeTrackGpx();

// A TCX file: one Activity, one Lap per entry of `laps`.
std::string tcxText(const std::vector<std::vector<RecordedPoint>>& laps);

// A small FIT writer: header with its CRC, definition and data messages, the file CRC.
class FitWriter {
  public:
    // Definition of local message `local` for global message `global`; fields as (number, size,
    // base type); developer fields as (number, size, developer index).
    struct Field {
        std::uint8_t number;
        std::uint8_t size;
        std::uint8_t baseType;
    };
    void define(int local, std::uint16_t global, const std::vector<Field>& fields,
                bool bigEndian = false, const std::vector<Field>& developerFields = {});
    // A data message with a normal header; `bytes` are the field values as laid out.
    void data(int local, const std::vector<std::uint8_t>& bytes);
    // A data message with a compressed timestamp header.
    void compressedData(int local, int timeOffset, const std::vector<std::uint8_t>& bytes);
    // The whole file; `corruptCrc` spoils its last byte.
    std::string file(bool corruptCrc = false) const;

  private:
    std::vector<std::uint8_t> records_;
};

// Little-endian bytes of a value.
std::vector<std::uint8_t> le(std::uint64_t value, int size);

// Semicircles of decimal degrees.
std::int32_t semicircles(double degrees);

// The record messages of a track: timestamp, position, altitude (scale 5, offset 500).
std::string fitFile(const std::vector<RecordedPoint>& points);

// The CRC of FIT files, bit by bit.
std::uint16_t fitCrcBitwise(const std::string& bytes);

// The six header lines and one point line per point, as a track file of point lines: six
// decimals, feet rounded half to even, the time of day in UTC.
std::string pltText(const std::vector<RecordedPoint>& points);

// Sets the process's time zone for its lifetime (a POSIX TZ rule), then restores it.
class ScopedTimeZone {
  public:
    explicit ScopedTimeZone(const char* rule);
    ~ScopedTimeZone();
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

  private:
    std::optional<std::string> previous_;
};

}  // namespace at::test
