// The GPX and TCX reader on arbitrary bytes (the first byte chooses the format): it hands out
// points on the Earth, with sensor values that are numbers, and then either ends, having found at
// least one, or fails with a RuntimeError that names the file; never anything else, and the file
// is closed either way.
#include <cmath>
#include <cstdlib>
#include <string>

#include "formats/xml_track_reader.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace at;
    if (size == 0)
        return 0;
    const XmlTrackKind kind = data[0] & 1 ? XmlTrackKind::Tcx : XmlTrackKind::Gpx;
    const std::string path = fuzz::workFolder() + "/track.xml";
    fuzz::writeFile(path, std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    const int openBefore = fuzz::openFileCount();
    long points = 0;
    try {
        const auto reader = openXmlTrackReader(path, kind);
        TrackPoint point;
        std::int64_t lastLine = 0;
        int lastTrack = 1;
        while (reader->next(point)) {
            ++points;
            fuzz::check(reader->track() >= lastTrack, "tracks out of file order");
            lastTrack = reader->track();
            const std::int64_t line = reader->place().value;
            fuzz::check(line >= lastLine && line >= 1, "points out of line order");
            lastLine = line;
            fuzz::check(point.timeOfDay >= 0.0 && point.timeOfDay < 1.0,
                        "time of day not in a day");
            fuzz::check(std::abs(point.latitudeDigits) <= 90000000 &&
                            std::abs(point.longitudeDigits) <= 180000000,
                        "a point off the Earth");
            const SensorReading sensors = reader->sensors();
            for (const Sensor sensor : kSensors) {
                const auto value = sensors.value(sensor);
                fuzz::check(!value || std::isfinite(*value), "a sensor value that is no number");
            }
        }
        for (const LapStart& lap : reader->layout().laps())
            fuzz::check(lap.track >= 1, "a lap of no track");
        fuzz::check(points > 0, "a track without points read to its end");
    } catch (const RuntimeError& e) {
        fuzz::check(e.file() == path, "an error without the file", e.message());
        fuzz::check(!e.message().empty(), "an error without a message");
    }
    fuzz::check(fuzz::openFileCount() == openBefore, "a file left open");
    return 0;
}
