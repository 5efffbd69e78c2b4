#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/number_locale.h"
#include "track/sensor_values.h"

// The lines the charts' read-outs add for the sensors, after the point's or the stretch's own.
namespace at {

// One line per value the point has: "Pulso: 132 ppm", "Temperatura: 19,5 °C".
std::vector<std::string> sensorReadout(const SensorReading& reading, const NumberLocale& locale);

// The mean of each sensor over the points from index `first` up to `end` (not included) that have
// a value, to one decimal: "Pulso medio: 131,4 ppm"; nothing for a sensor none of them has.
std::vector<std::string> stretchSensorReadout(const SensorColumns& sensors, std::size_t first,
                                              std::size_t end, const NumberLocale& locale);

}  // namespace at
