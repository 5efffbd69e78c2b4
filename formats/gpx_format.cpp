#include "formats/xml_format.h"

namespace at {
namespace {

class GpxFormat final : public XmlFormat {
  public:
    std::string_view rootName() const override { return "gpx"; }
    std::string_view pointName() const override { return "trkpt"; }

    void start(XmlPoints& points, std::string_view name, int depth, int pointDepth,
               const XML_Char** attributes) override {
        if (pointDepth != 0) {
            if (depth == pointDepth + 1 && name == "ele")
                points.collect(XmlValue::Elevation);
            if (depth == pointDepth + 1 && name == "time")
                points.collect(XmlValue::Time);
            if (depth == pointDepth + 1 && name == "extensions")
                extensionsDepth_ = depth;
            if (extensionsDepth_ != 0 && depth > extensionsDepth_)
                startExtension(points, name, depth);
        } else if (segmentDepth_ != 0 && depth == segmentDepth_ + 1 && name == "trkpt") {
            points.openPoint(true);
            std::string_view latitude;
            std::string_view longitude;
            for (const XML_Char** a = attributes; a[0] != nullptr; a += 2) {
                const std::string_view attribute = localName(a[0]);
                if (attribute == "lat")
                    latitude = a[1];
                if (attribute == "lon")
                    longitude = a[1];
            }
            // A missing attribute is named as one that does not read.
            points.setCoordinate(XmlValue::Latitude, latitude);
            points.setCoordinate(XmlValue::Longitude, longitude);
        } else if (trackDepth_ != 0 && depth == trackDepth_ + 1 && name == "trkseg") {
            segmentDepth_ = depth;
        } else if (trackDepth_ != 0 && depth == trackDepth_ + 1 && name == "name") {
            points.collectHeading(HeadingText::Name);
        } else if (trackDepth_ != 0 && depth == trackDepth_ + 1 && name == "type") {
            points.collectHeading(HeadingText::Sport);
        } else if (depth == 2 && name == "trk") {
            trackDepth_ = depth;
            points.openTrack();
        }
    }

    void end(int depth) override {
        if (depth == pointExtensionDepth_)
            pointExtensionDepth_ = 0;
        if (depth == extensionsDepth_)
            extensionsDepth_ = 0;
        if (depth == segmentDepth_)
            segmentDepth_ = 0;
        if (depth == trackDepth_)
            trackDepth_ = 0;
    }

    const char* valueName(XmlValue value) const override {
        switch (value) {
            case XmlValue::Elevation:
                return "ele";
            case XmlValue::Time:
                return "time";
            case XmlValue::Latitude:
                return "lat";
            case XmlValue::Longitude:
                return "lon";
            case XmlValue::HeartRate:
                return "hr";
            case XmlValue::Cadence:
                return "cad";
            case XmlValue::Power:
                return "power";
            case XmlValue::Temperature:
                return "atemp";
        }
        return "";
    }

    std::string pointTag(std::string_view latitude, std::string_view longitude) const override {
        std::string tag = "<trkpt lat=\"";
        tag.append(latitude).append("\" lon=\"").append(longitude).append("\">");
        return tag;
    }

  private:
    // The sensors as Garmin's TrackPointExtension writes them, wherever in the point's extensions
    // it lies; power has no element of its own there, and programs write it beside it.
    void startExtension(XmlPoints& points, std::string_view name, int depth) {
        if (name == "TrackPointExtension") {
            pointExtensionDepth_ = depth;
        } else if (name == "power") {
            points.collect(XmlValue::Power);
        } else if (pointExtensionDepth_ != 0 && depth == pointExtensionDepth_ + 1) {
            if (name == "hr")
                points.collect(XmlValue::HeartRate);
            if (name == "cad")
                points.collect(XmlValue::Cadence);
            if (name == "atemp")
                points.collect(XmlValue::Temperature);
        }
    }

    int trackDepth_ = 0;
    int segmentDepth_ = 0;
    int extensionsDepth_ = 0;
    int pointExtensionDepth_ = 0;
};

}  // namespace

std::unique_ptr<XmlFormat> gpxFormat() {
    return std::make_unique<GpxFormat>();
}

}  // namespace at
