#include "track/sensor_values.h"

namespace at {

void SensorColumns::set(std::size_t index, const SensorReading& reading) {
    for (const Sensor sensor : kSensors) {
        const auto v = reading.value(sensor);
        if (!v)
            continue;
        std::vector<float>& column = columns_[sensorIndex(sensor)];
        // The points before, back to the last one with a value, have none.
        column.resize(index + 1, std::numeric_limits<float>::quiet_NaN());
        column[index] = *v;
    }
}

void SensorColumns::clear() {
    for (std::vector<float>& column : columns_)
        column = {};
}

bool SensorColumns::any() const {
    for (const Sensor sensor : kSensors) {
        if (has(sensor))
            return true;
    }
    return false;
}

std::optional<float> SensorColumns::value(Sensor sensor, std::size_t index) const {
    const std::vector<float>& column = columns_[sensorIndex(sensor)];
    if (index >= column.size() || std::isnan(column[index]))
        return std::nullopt;
    return column[index];
}

SensorReading SensorColumns::reading(std::size_t index) const {
    SensorReading reading;
    for (const Sensor sensor : kSensors) {
        if (const auto v = value(sensor, index))
            reading.set(sensor, *v);
    }
    return reading;
}

}  // namespace at
