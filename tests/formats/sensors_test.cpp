// The sensors the GPX, TCX and FIT readers hand out beside each point: exactly the file's values,
// and none where the point has none.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "formats/track_format.h"
#include "tests/support/sensor_tracks.h"
#include "tests/support/temp_dir.h"
#include "tests/support/track_formats.h"

namespace at {
namespace {

using Values = std::array<std::optional<float>, kSensorCount>;  // in the order of kSensors

std::vector<Values> sensorsOf(const std::string& path) {
    const auto reader = openPointReader(path, detectTrackFormat(path));
    std::vector<Values> seen;
    TrackPoint point;
    while (reader->next(point)) {
        const SensorReading reading = reader->sensors();
        Values values;
        for (const Sensor sensor : kSensors)
            values[sensorIndex(sensor)] = reading.value(sensor);
        seen.push_back(values);
    }
    reader->close();
    return seen;
}

constexpr std::nullopt_t none = std::nullopt;

TEST(Sensors, EachFormatGivesTheFilesValuesAndNoneWhereAPointHasNone) {
    test::ScopedTimeZone utc("UTC0");
    test::TempDir dir;
    const struct {
        const char* name;
        std::string text;
        Values first;
    } cases[] = {
        {"s.gpx", test::gpxWithSensors(), {120.0f, 80.0f, 210.0f, 19.5f}},
        {"s.tcx", test::tcxWithSensors(), {120.0f, 80.0f, 210.0f, none}},
        {"s.fit", test::fitWithSensors(), {120.0f, 80.0f, 210.0f, -5.0f}},
    };
    for (const auto& c : cases) {
        const std::vector<Values> expected = {
            c.first, {none, none, none, none}, {131.0f, none, none, none}};
        EXPECT_EQ(sensorsOf(dir.write(c.name, c.text)), expected) << c.name;
    }
}

}  // namespace
}  // namespace at
