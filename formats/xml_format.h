#pragma once

#include <expat.h>

#include <memory>
#include <string>
#include <string_view>

// The part of the XML track reader that knows one format's elements. The reader (one expat driver
// for every format) walks the document and hands each start and end tag to the format's handler;
// the handler answers by opening a point or by asking for the text of one of its values. Reading
// the values, closing the points and every message stay with the reader.
namespace at {

// The values of a point that elements carry.
enum class XmlValue {
    Elevation,
    Time,
    Latitude,
    Longitude,
    HeartRate,
    Cadence,
    Power,
    Temperature
};

// What a track's element says of the track rather than of a point.
enum class HeadingText { Name, Sport };

// What a handler can ask of the reader while an element starts.
class XmlPoints {
  public:
    // The element just started is a point. `positioned` when the element itself carries the
    // position (GPX attributes); otherwise a child must say it has one (TCX), or the point is
    // skipped.
    virtual void openPoint(bool positioned) = 0;
    // The open point has a position element.
    virtual void markPositioned() = 0;
    // The open point's latitude or longitude as an attribute writes it.
    virtual void setCoordinate(XmlValue which, std::string_view text) = 0;
    // The text of the element just started is the open point's `value`.
    virtual void collect(XmlValue value) = 0;

    // The element just started is a track of its own; the points that follow belong to it.
    virtual void openTrack() = 0;
    // The text of the element just started names the open track, or says its sport.
    virtual void collectHeading(HeadingText which) = 0;
    // The open track's sport as an attribute writes it.
    virtual void setSport(std::string_view sport) = 0;
    // The element just started is a lap: the next point begins it.
    virtual void openLap() = 0;

  protected:
    ~XmlPoints() = default;
};

class XmlFormat {
  public:
    virtual ~XmlFormat() = default;

    virtual std::string_view rootName() const = 0;
    virtual std::string_view pointName() const = 0;
    // Element `name` starts at `depth`, the root being 1; `pointDepth` is the open point's depth,
    // 0 outside a point.
    virtual void start(XmlPoints& points, std::string_view name, int depth, int pointDepth,
                       const XML_Char** attributes) = 0;
    // The element at `depth` ends; the reader has closed whatever value or point it was.
    virtual void end(int depth) = 0;
    // The element a value is read from, for messages.
    virtual const char* valueName(XmlValue value) const = 0;
    // The point's start tag as the file writes it, for messages.
    virtual std::string pointTag(std::string_view latitude, std::string_view longitude) const = 0;
};

// GPX 1.0 and 1.1: every trkpt of every trkseg of every trk, in file order, each trk a track with
// its name and type; routes and waypoints are no points of a track. A point's extensions may carry
// the sensors: hr, cad and atemp of a TrackPointExtension, and a power element.
std::unique_ptr<XmlFormat> gpxFormat();
// TCX: every Trackpoint of every Activity (each Lap beginning a lap) or Course, each a track with
// its sport or name; a trackpoint without a position is skipped. HeartRateBpm, Cadence and the
// extensions' Watts (and RunCadence, where a running watch writes its cadence) are its sensors.
std::unique_ptr<XmlFormat> tcxFormat();

// The element's name without its namespace prefix: files write "trkpt" or "gpx:trkpt".
std::string_view localName(const XML_Char* name);

}  // namespace at
