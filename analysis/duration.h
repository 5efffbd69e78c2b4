#pragma once

#include <cstdint>
#include <string>

namespace at {

// Whole seconds as "01h 02' 05''": two digits at least for each part, hours in full beyond 99.
// A negative duration (a track that runs past midnight) gets a leading "-".
std::string formatDuration(std::int64_t seconds);

}  // namespace at
