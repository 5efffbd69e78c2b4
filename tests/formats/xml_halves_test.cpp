// A long GPX file read in two halves yields what one reader from start to end yields: the same
// points, tracks, lines and the same failure at the same place, whatever lies where the halves
// meet.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "formats/xml_halves.h"
#include "tests/support/temp_dir.h"
#include "tests/support/track_formats.h"

namespace at {
namespace {

constexpr int kPoints = 20000;

// Point i on a line of its own, with a heart rate on every third one.
std::string pointLine(int i) {
    char line[260];
    std::snprintf(line, sizeof line,
                  "   <trkpt lat=\"40.%06d\" lon=\"-3.%06d\"><ele>%d.5</ele>"
                  "<time>2024-05-01T%02d:%02d:%02dZ</time>%s</trkpt>\n",
                  100000 + i, 200000 + i, 600 + i % 300, i / 3600 % 24, i / 60 % 60, i % 60,
                  i % 3 == 0 ? "<extensions><gpxtpx:TrackPointExtension><gpxtpx:hr>131</gpxtpx:hr>"
                               "</gpxtpx:TrackPointExtension></extensions>"
                             : "");
    return line;
}

// A day's track of kPoints points (about 2.5 MB); `change(i, line)` may rewrite the line of point
// i.
template <typename Change>
std::string dayTrack(Change change) {
    std::string gpx =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<gpx version=\"1.1\" creator=\"prueba\" xmlns=\"http://www.topografix.com/GPX/1/1\"\n"
        "     xmlns:gpxtpx=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v1\">\n"
        " <trk><name>Mañana</name><type>hiking</type>\n  <trkseg>\n";
    for (int i = 0; i < kPoints; ++i) {
        std::string line = pointLine(i);
        change(i, line);
        gpx += line;
    }
    return gpx + "  </trkseg>\n </trk>\n</gpx>\n";
}

struct Reading {
    std::vector<std::string> points;
    std::vector<std::string> tracks;
    std::string failure;
    bool inHalves = false;
};

Reading readThrough(PointReader& reader) {
    Reading r;
    TrackPoint p;
    try {
        while (reader.next(p)) {
            const auto hr = reader.sensors().value(Sensor::HeartRate);
            r.points.push_back(
                std::to_string(p.latitudeDigits) + " " + std::to_string(p.longitudeDigits) + " " +
                std::to_string(p.altitudeFeet) + " " + std::to_string(p.timeOfDay) + " " +
                std::to_string(reader.localDay()) + " @" + std::to_string(reader.place().value) +
                " t" + std::to_string(reader.track()) + " " + (hr ? std::to_string(*hr) : "-"));
        }
        reader.close();
    } catch (const RuntimeError& e) {
        r.failure = e.what();
    }
    for (int t = 1; t <= 3; ++t) {
        const TrackHeading& h = reader.layout().headingOf(t);
        r.tracks.push_back(h.name + (h.onFoot ? " a pie" : ""));
    }
    return r;
}

class XmlHalves : public ::testing::Test {
  protected:
    // The file read by one reader from start to end, and in halves where it can be.
    void expectSameReading(const std::string& gpx, bool inHalves) {
        const std::string path = dir_.write("dia.gpx", gpx);
        ASSERT_GE(static_cast<std::int64_t>(gpx.size()), kXmlHalvesBytes);
        const auto whole = openXmlLeader(path, XmlTrackKind::Gpx);
        const Reading expected = readThrough(*whole);
        const auto halves = openXmlHalvesReader(path, XmlTrackKind::Gpx);
        const Reading got = readThrough(*halves);
        EXPECT_EQ(halves->readInHalves(), inHalves);
        EXPECT_EQ(got.failure, expected.failure);
        EXPECT_EQ(got.tracks, expected.tracks);
        ASSERT_EQ(got.points.size(), expected.points.size());
        for (std::size_t i = 0; i < got.points.size(); ++i)
            ASSERT_EQ(got.points[i], expected.points[i]) << "point " << i;
    }

    test::ScopedTimeZone zone_{"CET-1CEST,M3.5.0,M10.5.0/3"};
    test::TempDir dir_;
};

TEST_F(XmlHalves, YieldTheSamePointsAndFailuresAsOneReader) {
    const int late = kPoints * 3 / 4;
    const int early = kPoints / 5;
    const struct {
        const char* what;
        int at;
        std::string (*rewrite)(const std::string& line);
        bool inHalves;
    } cases[] = {
        {"nothing changed", -1, nullptr, true},
        {"a latitude that does not read, late", late,
         [](const std::string&) { return std::string("   <trkpt lat=\"4x\" lon=\"-3.1\"/>\n"); },
         true},
        {"a latitude that does not read, early", early,
         [](const std::string&) { return std::string("   <trkpt lat=\"4x\" lon=\"-3.1\"/>\n"); },
         false},
        {"an end tag that does not match, late", late,
         [](const std::string& l) { return l.substr(0, l.size() - 3) + "x>\n"; }, true},
        {"a new track with its name and sport, late", late,
         [](const std::string& l) {
             return "  </trkseg>\n </trk>\n <trk>\n  <name>Tarde</name><type>cycling</type>\n"
                    "  <trkseg>\n" +
                    l;
         },
         true},
        {"a text beyond the bound, late", late,
         [](const std::string& l) {
             return "   <trkpt lat=\"40.1\" lon=\"-3.1\"><desc>" + std::string(1100000, 'a') +
                    "</desc></trkpt>\n" + l;
         },
         true},
        {"the middle inside a comment", kPoints / 2 - 300,
         [](const std::string& l) { return "<!--\n" + l; }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string gpx = dayTrack([&](int i, std::string& line) {
            if (i == c.at)
                line = c.rewrite(line);
            if (c.at == kPoints / 2 - 300 && i == kPoints / 2 + 300)
                line += "-->\n";
        });
        expectSameReading(gpx, c.inHalves);
    }
}

TEST_F(XmlHalves, AFileCutShortOrWithADocumentTypeIsReadLikeAnyOther) {
    const std::string gpx = dayTrack([](int, std::string&) {});
    expectSameReading(gpx.substr(0, gpx.size() - 40), true);
    expectSameReading("<?xml version=\"1.0\"?>\n<!DOCTYPE gpx>\n" + gpx.substr(gpx.find("<gpx")),
                      false);
}

TEST_F(XmlHalves, AReaderLeftEarlyStopsItsFollower) {
    const std::string path = dir_.write("dia.gpx", dayTrack([](int, std::string&) {}));
    const auto reader = openXmlHalvesReader(path, XmlTrackKind::Gpx);
    TrackPoint p;
    ASSERT_TRUE(reader->next(p));
    EXPECT_FALSE(reader->readInHalves());
}

}  // namespace
}  // namespace at
