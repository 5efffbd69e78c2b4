#include "formats/xml_format.h"

namespace at {
namespace {

class TcxFormat final : public XmlFormat {
  public:
    std::string_view rootName() const override { return "TrainingCenterDatabase"; }
    std::string_view pointName() const override { return "Trackpoint"; }

    void start(XmlPoints& points, std::string_view name, int depth, int pointDepth,
               const XML_Char** attributes) override {
        if (pointDepth != 0) {
            if (depth == pointDepth + 1 && name == "Time")
                points.collect(XmlValue::Time);
            if (depth == pointDepth + 1 && name == "AltitudeMeters")
                points.collect(XmlValue::Elevation);
            if (depth == pointDepth + 1 && name == "Position") {
                positionDepth_ = depth;
                points.markPositioned();
            }
            if (positionDepth_ != 0 && depth == positionDepth_ + 1 && name == "LatitudeDegrees")
                points.collect(XmlValue::Latitude);
            if (positionDepth_ != 0 && depth == positionDepth_ + 1 && name == "LongitudeDegrees")
                points.collect(XmlValue::Longitude);
            startSensor(points, name, depth, pointDepth);
        } else if (sectionDepth_ != 0 && name == "Trackpoint") {
            points.openPoint(false);
        } else if (activity_ && depth == sectionDepth_ + 1 && name == "Lap") {
            points.openLap();
        } else if (!activity_ && depth == sectionDepth_ + 1 && name == "Name") {
            points.collectHeading(HeadingText::Name);
        } else if (depth == 3 && (name == "Activity" || name == "Course")) {
            sectionDepth_ = depth;
            activity_ = name == "Activity";
            points.openTrack();
            for (const XML_Char** a = attributes; a[0] != nullptr; a += 2) {
                if (activity_ && localName(a[0]) == "Sport")
                    points.setSport(a[1]);
            }
        }
    }

    void end(int depth) override {
        if (depth == heartRateDepth_)
            heartRateDepth_ = 0;
        if (depth == extensionsDepth_)
            extensionsDepth_ = 0;
        if (depth == positionDepth_)
            positionDepth_ = 0;
        if (depth == sectionDepth_) {
            sectionDepth_ = 0;
            activity_ = false;
        }
    }

    const char* valueName(XmlValue value) const override {
        switch (value) {
            case XmlValue::Elevation:
                return "AltitudeMeters";
            case XmlValue::Time:
                return "Time";
            case XmlValue::Latitude:
                return "LatitudeDegrees";
            case XmlValue::Longitude:
                return "LongitudeDegrees";
            case XmlValue::HeartRate:
                return "HeartRateBpm";
            case XmlValue::Cadence:
                return "Cadence";
            case XmlValue::Power:
                return "Watts";
            case XmlValue::Temperature:
                return "Temperature";
        }
        return "";
    }

    std::string pointTag(std::string_view, std::string_view) const override {
        return "<Trackpoint>";
    }

  private:
    void startSensor(XmlPoints& points, std::string_view name, int depth, int pointDepth) {
        if (depth == pointDepth + 1) {
            if (name == "HeartRateBpm")
                heartRateDepth_ = depth;
            if (name == "Cadence")
                points.collect(XmlValue::Cadence);
            if (name == "Extensions")
                extensionsDepth_ = depth;
        } else if (heartRateDepth_ != 0 && depth == heartRateDepth_ + 1 && name == "Value") {
            points.collect(XmlValue::HeartRate);
        } else if (extensionsDepth_ != 0 && name == "Watts") {
            points.collect(XmlValue::Power);
        } else if (extensionsDepth_ != 0 && name == "RunCadence") {
            points.collect(XmlValue::Cadence);
        }
    }

    int sectionDepth_ = 0;
    bool activity_ = false;
    int positionDepth_ = 0;
    int heartRateDepth_ = 0;
    int extensionsDepth_ = 0;
};

}  // namespace

std::unique_ptr<XmlFormat> tcxFormat() {
    return std::make_unique<TcxFormat>();
}

}  // namespace at
