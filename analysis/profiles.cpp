#include "analysis/profiles.h"

#include "platform/number_text.h"
#include "platform/rounding.h"

namespace at {

AltitudeAxis altitudeAxis(double lowest, double highest) {
    return {roundHalfEven(lowest) - 5, roundHalfEven(highest) + 5};
}

void Profiles::sizeProfiles(std::int64_t pointCount, PointNumbering numbering) {
    altitude_.setRowCount(numbered(numbering, pointCount));
    speed_.setRowCount(altitude_.rowCount());
}

void Profiles::selectAltitudeRow(std::int32_t point) {
    altitude_.setRow(point);
}

void Profiles::setAltitudeValue(double metres) {
    altitude_.setRowValue(roundToShownDigits(metres));
}

void Profiles::addSpeedRow(std::int32_t point, double kmh) {
    speed_.setRow(point);
    speed_.setRowValue(roundToShownDigits(kmh));
}

void Profiles::fitAltitudeAxis(double lowest, double highest) {
    const AltitudeAxis axis = altitudeAxis(lowest, highest);
    altitude_.setValueAxisMinimum(axis.minimum);
    altitude_.setValueAxisMaximum(axis.maximum);
}

}  // namespace at
