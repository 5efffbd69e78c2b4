#include "tests/support/track_formats.h"

#include <time.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "tests/support/track_text.h"

namespace at::test {

std::string xmlTime(std::int64_t unixSeconds) {
    const time_t t = static_cast<time_t>(unixSeconds);
    struct tm utc {};
    gmtime_r(&t, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

namespace {

void appendGpxPoint(std::string& out, const RecordedPoint& p) {
    out += "      <trkpt lat=\"" + p.latitude + "\" lon=\"" + p.longitude + "\">";
    if (p.elevation)
        out += "<ele>" + *p.elevation + "</ele>";
    if (p.unixSeconds)
        out += "<time>" + xmlTime(*p.unixSeconds) + "</time>";
    out += "</trkpt>\n";
}

void appendTcxPoint(std::string& out, const RecordedPoint& p) {
    out += "          <Trackpoint>\n";
    if (p.unixSeconds)
        out += "            <Time>" + xmlTime(*p.unixSeconds) + "</Time>\n";
    out += "            <Position><LatitudeDegrees>" + p.latitude +
           "</LatitudeDegrees><LongitudeDegrees>" + p.longitude +
           "</LongitudeDegrees></Position>\n";
    if (p.elevation)
        out += "            <AltitudeMeters>" + *p.elevation + "</AltitudeMeters>\n";
    out += "          </Trackpoint>\n";
}

}  // namespace

std::string gpxText(const std::vector<std::vector<RecordedPoint>>& segments) {
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<gpx version=\"1.1\" creator=\"prueba\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
        "  <metadata><time>2024-05-01T00:00:00Z</time></metadata>\n"
        "  <trk>\n    <name>prueba</name>\n";
    for (const auto& segment : segments) {
        out += "    <trkseg>\n";
        for (const RecordedPoint& p : segment)
            appendGpxPoint(out, p);
        out += "    </trkseg>\n";
    }
    out += "  </trk>\n</gpx>\n";
    return out;
}

std::string gpxTracksText(const std::vector<GpxTrack>& tracks) {
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<gpx version=\"1.1\" creator=\"prueba\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n";
    for (const GpxTrack& track : tracks) {
        out += "  <trk>\n    <name>" + track.name + "</name>\n";
        if (!track.type.empty())
            out += "    <type>" + track.type + "</type>\n";
        for (const auto& segment : track.segments) {
            out += "    <trkseg>\n";
            for (const RecordedPoint& p : segment)
                appendGpxPoint(out, p);
            out += "    </trkseg>\n";
        }
        out += "  </trk>\n";
    }
    return out + "</gpx>\n";
}

std::string threeTrackGpx() {
    constexpr std::int64_t k10h = 1714557600;  // 2024-05-01 10:00 UTC
    const auto outing = [](std::int64_t start, int count, int from) {
        std::vector<RecordedPoint> points;
        for (int i = 0; i < count; ++i) {
            points.push_back(
                {"41." + std::to_string(100000 + 900 * (from + i)), "2.1", "120", start + 60 * i});
        }
        return points;
    };
    return gpxTracksText({
        {"Mañana", "running", {outing(k10h, 2, 0), outing(k10h + 600, 2, 2)}},
        {"Tarde", "", {outing(k10h + 6 * 3600, 3, 0)}},
        {"Noche", "", {outing(k10h + 86400, 5, 0)}},
    });
}

std::string tcxText(const std::vector<std::vector<RecordedPoint>>& laps) {
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<TrainingCenterDatabase "
        "xmlns=\"http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2\">\n"
        "  <Activities>\n    <Activity Sport=\"Biking\">\n      <Id>2024-05-01T10:00:00Z</Id>\n";
    for (const auto& lap : laps) {
        out += "      <Lap StartTime=\"2024-05-01T10:00:00Z\">\n        <Track>\n";
        for (const RecordedPoint& p : lap)
            appendTcxPoint(out, p);
        out += "        </Track>\n      </Lap>\n";
    }
    out += "    </Activity>\n  </Activities>\n</TrainingCenterDatabase>\n";
    return out;
}

std::vector<std::uint8_t> le(std::uint64_t value, int size) {
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    return bytes;
}

std::int32_t semicircles(double degrees) {
    return static_cast<std::int32_t>(std::llround(degrees * 2147483648.0 / 180.0));
}

void FitWriter::define(int local, std::uint16_t global, const std::vector<Field>& fields,
                       bool bigEndian, const std::vector<Field>& developerFields) {
    records_.push_back(
        static_cast<std::uint8_t>(0x40 | (developerFields.empty() ? 0 : 0x20) | local));
    records_.push_back(0);
    records_.push_back(bigEndian ? 1 : 0);
    records_.push_back(static_cast<std::uint8_t>(bigEndian ? global >> 8 : global & 0xFF));
    records_.push_back(static_cast<std::uint8_t>(bigEndian ? global & 0xFF : global >> 8));
    records_.push_back(static_cast<std::uint8_t>(fields.size()));
    for (const Field& f : fields)
        records_.insert(records_.end(), {f.number, f.size, f.baseType});
    if (!developerFields.empty()) {
        records_.push_back(static_cast<std::uint8_t>(developerFields.size()));
        for (const Field& f : developerFields)
            records_.insert(records_.end(), {f.number, f.size, f.baseType});
    }
}

void FitWriter::data(int local, const std::vector<std::uint8_t>& bytes) {
    records_.push_back(static_cast<std::uint8_t>(local));
    records_.insert(records_.end(), bytes.begin(), bytes.end());
}

void FitWriter::compressedData(int local, int timeOffset, const std::vector<std::uint8_t>& bytes) {
    records_.push_back(static_cast<std::uint8_t>(0x80 | (local << 5) | (timeOffset & 0x1F)));
    records_.insert(records_.end(), bytes.begin(), bytes.end());
}

std::uint16_t fitCrcBitwise(const std::string& bytes) {
    std::uint16_t crc = 0;
    for (const char c : bytes) {
        crc ^= static_cast<std::uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
    }
    return crc;
}

std::string FitWriter::file(bool corruptCrc) const {
    std::string header;
    header += static_cast<char>(14);
    header += static_cast<char>(0x20);
    for (const auto b : le(2132, 2))
        header += static_cast<char>(b);
    for (const auto b : le(records_.size(), 4))
        header += static_cast<char>(b);
    header += ".FIT";
    for (const auto b : le(fitCrcBitwise(header), 2))
        header += static_cast<char>(b);
    std::string out = header + std::string(records_.begin(), records_.end());
    std::uint16_t crc = fitCrcBitwise(out);
    if (corruptCrc)
        crc ^= 0x0100;
    for (const auto b : le(crc, 2))
        out += static_cast<char>(b);
    return out;
}

std::string fitFile(const std::vector<RecordedPoint>& points) {
    constexpr std::int64_t kFitEpoch = 631065600;
    FitWriter fit;
    // file_id first, as devices write it: type 4 (activity).
    fit.define(0, 0, {{0, 1, 0x00}});
    fit.data(0, {4});
    fit.define(1, 20, {{253, 4, 0x86}, {0, 4, 0x85}, {1, 4, 0x85}, {2, 2, 0x84}});
    for (const RecordedPoint& p : points) {
        std::vector<std::uint8_t> bytes =
            le(static_cast<std::uint64_t>(*p.unixSeconds - kFitEpoch), 4);
        for (const auto b : le(static_cast<std::uint32_t>(semicircles(std::stod(p.latitude))), 4))
            bytes.push_back(b);
        for (const auto b : le(static_cast<std::uint32_t>(semicircles(std::stod(p.longitude))), 4))
            bytes.push_back(b);
        const std::uint16_t altitude =
            p.elevation
                ? static_cast<std::uint16_t>(std::lround((std::stod(*p.elevation) + 500) * 5))
                : 0xFFFF;
        for (const auto b : le(altitude, 2))
            bytes.push_back(b);
        fit.data(1, bytes);
    }
    return fit.file();
}

std::string pltText(const std::vector<RecordedPoint>& points) {
    std::vector<std::string> lines;
    for (const RecordedPoint& p : points) {
        const double metres = p.elevation ? std::stod(*p.elevation) : -777 * 0.3048;
        const int feet = static_cast<int>(std::nearbyint(metres / 0.3048));
        lines.push_back(pointLine(std::stod(p.latitude), std::stod(p.longitude), feet,
                                  clock(static_cast<int>(*p.unixSeconds % 86400))));
    }
    return trackText(lines);
}

ScopedTimeZone::ScopedTimeZone(const char* rule) {
    if (const char* tz = std::getenv("TZ"))
        previous_ = tz;
    setenv("TZ", rule, 1);
    tzset();
}

ScopedTimeZone::~ScopedTimeZone() {
    if (previous_) {
        setenv("TZ", previous_->c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}

}  // namespace at::test
