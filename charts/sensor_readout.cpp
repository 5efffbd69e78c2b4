#include "charts/sensor_readout.h"

#include "analysis/sensor_figures.h"
#include "platform/number_text.h"
#include "platform/rounding.h"

namespace at {
namespace {

// "Pulso medio", "Cadencia media": the adjective agrees with the name.
std::string meanCaption(Sensor sensor) {
    const bool feminine = sensor != Sensor::HeartRate;
    return std::string(sensorName(sensor)) + (feminine ? " media" : " medio");
}

}  // namespace

std::vector<std::string> sensorReadout(const SensorReading& reading, const NumberLocale& locale) {
    std::vector<std::string> lines;
    for (const Sensor sensor : kSensors) {
        if (const auto v = reading.value(sensor)) {
            lines.push_back(std::string(sensorName(sensor)) + ": " + formatSingle(*v, locale) +
                            " " + sensorUnit(sensor));
        }
    }
    return lines;
}

std::vector<std::string> stretchSensorReadout(const SensorColumns& sensors, std::size_t first,
                                              std::size_t end, const NumberLocale& locale) {
    std::vector<std::string> lines;
    for (const Sensor sensor : kSensors) {
        if (!sensors.has(sensor))
            continue;
        if (const auto figures = sensorFigures(sensors, sensor, first, end)) {
            lines.push_back(meanCaption(sensor) + ": " +
                            formatDouble(roundHalfEven(figures->mean, 1), locale) + " " +
                            sensorUnit(sensor));
        }
    }
    return lines;
}

}  // namespace at
