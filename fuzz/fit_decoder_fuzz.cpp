// The FIT decoder on arbitrary bytes: it hands out points on the Earth, with sensor values in
// their fields' ranges (never a field's invalid value), and then either ends or fails with a
// RuntimeError naming the file and a byte offset inside it; never anything else, never reading
// past the file, and the file is closed either way.
#include <cstdlib>
#include <string>

#include "formats/fit_reader.h"
#include "fuzz/fuzz_support.h"

namespace {

// heart_rate and cadence are uint8, power uint16, temperature sint8; each without its invalid
// value.
void checkSensors(const at::SensorReading& sensors) {
    using at::Sensor;
    const struct {
        Sensor sensor;
        float lowest;
        float highest;
    } ranges[] = {{Sensor::HeartRate, 0, 254},
                  {Sensor::Cadence, 0, 254},
                  {Sensor::Power, 0, 65534},
                  {Sensor::Temperature, -128, 126}};
    for (const auto& r : ranges) {
        const auto value = sensors.value(r.sensor);
        at::fuzz::check(!value || (*value >= r.lowest && *value <= r.highest &&
                                   *value == static_cast<float>(static_cast<int>(*value))),
                        "a sensor value outside its field");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace at;
    const std::string path = fuzz::workFolder() + "/track.fit";
    fuzz::writeFile(path, std::string_view(reinterpret_cast<const char*>(data), size));
    const int openBefore = fuzz::openFileCount();
    try {
        const auto reader = openFitReader(path);
        TrackPoint point;
        long points = 0;
        int lastTrack = 1;
        while (reader->next(point)) {
            ++points;
            fuzz::check(reader->track() >= lastTrack, "tracks out of file order");
            lastTrack = reader->track();
            const std::int64_t at = reader->place().value;
            fuzz::check(at >= 12 && at < static_cast<std::int64_t>(size),
                        "a point outside the file");
            fuzz::check(point.timeOfDay >= 0.0 && point.timeOfDay < 1.0,
                        "time of day not in a day");
            fuzz::check(std::abs(point.latitudeDigits) <= 90000000 &&
                            std::abs(point.longitudeDigits) <= 180000000,
                        "a point off the Earth");
            checkSensors(reader->sensors());
        }
        for (const LapStart& lap : reader->layout().laps())
            fuzz::check(lap.track >= 1, "a lap of no track");
        fuzz::check(points > 0, "a track without points read to its end");
        // A whole file's CRC, its own included, is 0: nothing unchecked was accepted.
        fuzz::check(fitCrc(0, data, size) == 0 || size < 14, "a bad CRC accepted");
    } catch (const RuntimeError& e) {
        fuzz::check(e.file() == path, "an error without the file", e.message());
        const auto offset = e.byteOffset();
        fuzz::check(
            offset.has_value() && *offset >= 0 && *offset <= static_cast<std::int64_t>(size),
            "an error without a byte offset in the file", e.message());
    }
    fuzz::check(fuzz::openFileCount() == openBefore, "a file left open");
    return 0;
}
