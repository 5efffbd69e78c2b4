#pragma once

#include <string>

namespace at {

// Something of the analysis marked at a row of the track: a stop of the list, and the places
// where a lap begins or a GPS jump was set aside, where the analysis finds them.
struct MapMark {
    enum class Kind { Stop, Lap, GpsJump };
    Kind kind = Kind::Stop;
    int row = 0;
    // Written on the pin: the stop's or the lap's number.
    std::string label;
    // Shown when the mouse rests on the pin: for a stop, its line in the list.
    std::string tooltip;
};

}  // namespace at
