#include "charts/profiles.h"

#include "platform/checked.h"
#include "platform/number_text.h"
#include "platform/rounding.h"

namespace at {

void Profiles::sizeProfiles(std::int64_t pointCount) {
    altitude_.setRowCount(toInt16Checked(pointCount));
    speed_.setRowCount(altitude_.rowCount());
}

void Profiles::selectAltitudeRow(std::int16_t point) {
    altitude_.setRow(point);
}

void Profiles::setAltitudeValue(double metres) {
    text_.clear();
    appendDouble(text_, metres, locale_);
    altitude_.setRowValue(text_);
}

void Profiles::addSpeedRow(std::int16_t point, double kmh) {
    speed_.setRow(point);
    text_.clear();
    appendDouble(text_, kmh, locale_);
    speed_.setRowValue(text_);
}

void Profiles::fitAltitudeAxis(double lowest, double highest) {
    altitude_.setValueAxisMinimum(roundHalfEven(lowest) - 5);
    altitude_.setValueAxisMaximum(roundHalfEven(highest) + 5);
}

}  // namespace at
