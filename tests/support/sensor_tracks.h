#pragma once

#include <string>

// The same three points recorded with sensors, as each format writes them: the first with every
// sensor its format has (heart rate 120, cadence 80, power 210 and, where there is one, the
// temperature: 19.5 in GPX, -5 in FIT), the second with none, the third with a heart rate of 131
// only. Ten seconds apart from 2024-05-01T10:00:00Z, 40°N 3°W going north.
namespace at::test {

std::string gpxWithSensors();
std::string tcxWithSensors();
std::string fitWithSensors();

}  // namespace at::test
