#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "track/sensor_values.h"

// The sensors as the user reads them: their names and units, and the figures of a track or of a
// stretch of it, taken over the points that have a value.
namespace at {

// "Pulso", "Cadencia", "Potencia", "Temperatura".
const char* sensorName(Sensor sensor);
// "ppm", "rpm", "W", "°C".
const char* sensorUnit(Sensor sensor);
// "Pulso (ppm)": a column's or an axis's title.
std::string sensorTitle(Sensor sensor);

struct SensorFigures {
    float lowest = 0.0f;
    double mean = 0.0;
    float highest = 0.0f;
};

// Over the points from index `first` up to `end` (not included); none when none of them has a
// value.
std::optional<SensorFigures> sensorFigures(const SensorColumns& columns, Sensor sensor,
                                           std::size_t first, std::size_t end);

}  // namespace at
