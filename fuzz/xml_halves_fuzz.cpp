// A GPX file read in two halves against the same file read by one reader from start to end: the
// same points with the same lines, tracks and sensors, the same tracks' names and the same
// failure, whatever the bytes where the halves meet; and no file left open.
#include <string>
#include <vector>

#include "formats/xml_halves.h"
#include "fuzz/fuzz_support.h"

namespace {

struct Reading {
    std::vector<std::string> points;
    std::string end;
};

Reading readThrough(at::PointReader& reader) {
    Reading r;
    at::TrackPoint p;
    try {
        while (reader.next(p)) {
            const auto hr = reader.sensors().value(at::Sensor::HeartRate);
            r.points.push_back(
                std::to_string(p.latitudeDigits) + "," + std::to_string(p.longitudeDigits) + "," +
                std::to_string(p.altitudeFeet) + "," + std::to_string(p.timeOfDay) + "," +
                std::to_string(reader.localDay()) + "@" + std::to_string(reader.place().value) +
                "t" + std::to_string(reader.track()) + (hr ? std::to_string(*hr) : ""));
        }
        reader.close();
        for (int t = 1; t <= 4; ++t)
            r.end += reader.layout().headingOf(t).name + "|";
    } catch (const at::RuntimeError& e) {
        r.end = e.message();
    }
    return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace at;
    const std::string path = fuzz::workFolder() + "/halves.gpx";
    fuzz::writeFile(path, std::string_view(reinterpret_cast<const char*>(data), size));
    const int openBefore = fuzz::openFileCount();
    Reading whole;
    Reading halves;
    {
        const auto reader = openXmlLeader(path, XmlTrackKind::Gpx);
        whole = readThrough(*reader);
    }
    {
        const auto reader = openXmlHalvesReader(path, XmlTrackKind::Gpx);
        halves = readThrough(*reader);
    }
    fuzz::check(halves.points.size() == whole.points.size(), "halves yield another count",
                whole.end);
    for (std::size_t i = 0; i < whole.points.size() && i < halves.points.size(); ++i)
        fuzz::check(halves.points[i] == whole.points[i], "halves yield another point",
                    whole.points[i] + " / " + halves.points[i]);
    fuzz::check(halves.end == whole.end, "halves end otherwise", whole.end + " / " + halves.end);
    fuzz::check(fuzz::openFileCount() == openBefore, "a file left open");
    return 0;
}
