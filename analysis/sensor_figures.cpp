#include "analysis/sensor_figures.h"

#include <algorithm>

namespace at {

const char* sensorName(Sensor sensor) {
    switch (sensor) {
        case Sensor::HeartRate:
            return "Pulso";
        case Sensor::Cadence:
            return "Cadencia";
        case Sensor::Power:
            return "Potencia";
        case Sensor::Temperature:
            return "Temperatura";
    }
    return "";
}

const char* sensorUnit(Sensor sensor) {
    switch (sensor) {
        case Sensor::HeartRate:
            return "ppm";
        case Sensor::Cadence:
            return "rpm";
        case Sensor::Power:
            return "W";
        case Sensor::Temperature:
            return "°C";
    }
    return "";
}

std::string sensorTitle(Sensor sensor) {
    return std::string(sensorName(sensor)) + " (" + sensorUnit(sensor) + ")";
}

std::optional<SensorFigures> sensorFigures(const SensorColumns& columns, Sensor sensor,
                                           std::size_t first, std::size_t end) {
    SensorFigures figures;
    double sum = 0.0;
    std::size_t count = 0;
    for (std::size_t i = first; i < end; ++i) {
        const auto v = columns.value(sensor, i);
        if (!v)
            continue;
        figures.lowest = count == 0 ? *v : std::min(figures.lowest, *v);
        figures.highest = count == 0 ? *v : std::max(figures.highest, *v);
        sum += *v;
        ++count;
    }
    if (count == 0)
        return std::nullopt;
    figures.mean = sum / static_cast<double>(count);
    return figures;
}

}  // namespace at
