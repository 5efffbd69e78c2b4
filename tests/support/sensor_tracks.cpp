#include "tests/support/sensor_tracks.h"

#include <cstdint>
#include <vector>

#include "tests/support/track_formats.h"

namespace at::test {

std::string gpxWithSensors() {
    return "<?xml version=\"1.0\"?>\n"
           "<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
           "xmlns:tpx=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v1\">\n"
           "<trk><trkseg>\n"
           "<trkpt lat=\"40\" lon=\"-3\"><ele>600</ele><time>2024-05-01T10:00:00Z</time>\n"
           "  <extensions><power>210</power><tpx:TrackPointExtension><tpx:atemp>19.5</tpx:atemp>"
           "<tpx:hr>120</tpx:hr><tpx:cad>80</tpx:cad></tpx:TrackPointExtension></extensions>"
           "</trkpt>\n"
           "<trkpt lat=\"40.001\" lon=\"-3\"><ele>601</ele><time>2024-05-01T10:00:10Z</time>\n"
           "  <extensions><tpx:TrackPointExtension></tpx:TrackPointExtension></extensions>"
           "</trkpt>\n"
           "<trkpt lat=\"40.002\" lon=\"-3\"><ele>602</ele><time>2024-05-01T10:00:20Z</time>\n"
           "  <extensions><tpx:TrackPointExtension><tpx:hr> 131 </tpx:hr>"
           "</tpx:TrackPointExtension></extensions></trkpt>\n"
           "</trkseg></trk>\n"
           "</gpx>\n";
}

std::string tcxWithSensors() {
    const auto point = [](const char* time, const char* latitude, const char* sensors) {
        return std::string("<Trackpoint><Time>2024-05-01T10:00:") + time +
               "Z</Time><Position><LatitudeDegrees>" + latitude +
               "</LatitudeDegrees><LongitudeDegrees>-3</LongitudeDegrees></Position>"
               "<AltitudeMeters>600</AltitudeMeters>" +
               sensors + "</Trackpoint>\n";
    };
    return "<?xml version=\"1.0\"?>\n"
           "<TrainingCenterDatabase "
           "xmlns=\"http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2\" "
           "xmlns:ns3=\"http://www.garmin.com/xmlschemas/ActivityExtension/v2\">\n"
           "<Activities><Activity Sport=\"Biking\"><Id>2024-05-01T10:00:00Z</Id>\n"
           "<Lap StartTime=\"2024-05-01T10:00:00Z\"><Track>\n" +
           point("00", "40",
                 "<HeartRateBpm><Value>120</Value></HeartRateBpm><Cadence>80</Cadence>"
                 "<Extensions><ns3:TPX><ns3:Speed>5</ns3:Speed><ns3:Watts>210</ns3:Watts>"
                 "</ns3:TPX></Extensions>") +
           point("10", "40.001", "") +
           point("20", "40.002", "<HeartRateBpm><Value>131</Value></HeartRateBpm>") +
           "</Track></Lap></Activity></Activities>\n"
           "</TrainingCenterDatabase>\n";
}

std::string fitWithSensors() {
    constexpr std::uint32_t kFirst = 1714557600 - 631065600;  // 2024-05-01T10:00:00Z
    FitWriter fit;
    // timestamp, position_lat, position_long, heart_rate, cadence, power, temperature.
    fit.define(0, 20,
               {{253, 4, 0x86},
                {0, 4, 0x85},
                {1, 4, 0x85},
                {3, 1, 0x02},
                {4, 1, 0x02},
                {7, 2, 0x84},
                {13, 1, 0x01}});
    const auto record = [&fit](std::uint32_t second, double latitude, std::uint8_t heartRate,
                               std::uint8_t cadence, std::uint16_t power, std::int8_t temperature) {
        std::vector<std::uint8_t> bytes = le(kFirst + second, 4);
        for (const std::uint64_t value : {static_cast<std::uint32_t>(semicircles(latitude)),
                                          static_cast<std::uint32_t>(semicircles(-3.0))}) {
            const auto four = le(value, 4);
            bytes.insert(bytes.end(), four.begin(), four.end());
        }
        bytes.insert(bytes.end(), {heartRate, cadence, static_cast<std::uint8_t>(power & 0xFF),
                                   static_cast<std::uint8_t>(power >> 8),
                                   static_cast<std::uint8_t>(temperature)});
        fit.data(0, bytes);
    };
    // The invalid value of each base type stands for a value the point does not have.
    record(0, 40.0, 120, 80, 210, -5);
    record(10, 40.001, 0xFF, 0xFF, 0xFFFF, 0x7F);
    record(20, 40.002, 131, 0xFF, 0xFFFF, 0x7F);
    return fit.file();
}

}  // namespace at::test
