#pragma once

#include <cstdint>

#include "analysis/profile_chart.h"
#include "track/point_numbering.h"

// The altitude profile (metres per point) and the speed profile (km/h per point) that the
// analysis fills while it reads a track.
namespace at {

// The altitude axis fitted to the lowest and highest altitude: whole metres, 5 m margin.
struct AltitudeAxis {
    double minimum = 0.0;
    double maximum = 0.0;
};
AltitudeAxis altitudeAxis(double lowest, double highest);

class Profiles {
  public:
    Profiles(ProfileChart& altitude, ProfileChart& speed) : altitude_(altitude), speed_(speed) {}

    // Both charts get one row per point; the speed chart takes the count the altitude chart
    // reports. A count beyond the numbering's width (above 32767 points for a track file) is an
    // overflow error and nothing is charted.
    void sizeProfiles(std::int64_t pointCount, PointNumbering numbering = PointNumbering::Bits16);
    void selectAltitudeRow(std::int32_t point);
    // Goes to the row chosen last; every point is drawn, discarded samples too.
    void setAltitudeValue(double metres);
    void addSpeedRow(std::int32_t point, double kmh);
    // The value axis from the lowest to the highest altitude (altitudeAxis), minimum first.
    void fitAltitudeAxis(double lowest, double highest);

  private:
    ProfileChart& altitude_;
    ProfileChart& speed_;
};

}  // namespace at
