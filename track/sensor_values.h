#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

// What a bike computer or a watch records beside the position: heart rate, cadence, power and the
// air temperature. Most points of such a file carry some of them; a track file of point lines
// carries none.
namespace at {

enum class Sensor { HeartRate, Cadence, Power, Temperature };
constexpr std::size_t kSensorCount = 4;
constexpr std::array<Sensor, kSensorCount> kSensors = {Sensor::HeartRate, Sensor::Cadence,
                                                       Sensor::Power, Sensor::Temperature};

constexpr std::size_t sensorIndex(Sensor sensor) {
    return static_cast<std::size_t>(sensor);
}

// The sensors' values of one point: beats per minute, revolutions per minute, watts, degrees
// Celsius. A value the point does not have is none, never 0.
class SensorReading {
  public:
    std::optional<float> value(Sensor sensor) const {
        const float v = values_[sensorIndex(sensor)];
        return std::isnan(v) ? std::nullopt : std::optional<float>(v);
    }
    void set(Sensor sensor, float value) { values_[sensorIndex(sensor)] = value; }
    void clear() { values_.fill(kNone); }
    bool any() const {
        for (const float v : values_) {
            if (!std::isnan(v))
                return true;
        }
        return false;
    }

  private:
    static constexpr float kNone = std::numeric_limits<float>::quiet_NaN();
    std::array<float, kSensorCount> values_ = {kNone, kNone, kNone, kNone};
};

// The sensors' values of every point of a track, by point index from 0. A column is kept only for
// a sensor the track has, from its first point to the last one with a value: a track without
// sensors costs nothing per point.
class SensorColumns {
  public:
    // The values of point `index`; points are set in order, each at most once.
    void set(std::size_t index, const SensorReading& reading);
    void clear();

    bool has(Sensor sensor) const { return !columns_[sensorIndex(sensor)].empty(); }
    bool any() const;
    std::optional<float> value(Sensor sensor, std::size_t index) const;
    SensorReading reading(std::size_t index) const;

  private:
    std::array<std::vector<float>, kSensorCount> columns_;
};

}  // namespace at
