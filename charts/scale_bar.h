#pragma once

#include <string>

namespace at {

// A metric scale bar: a round ground length (1, 2 or 5 times a power of ten) and how long it is
// drawn.
struct ScaleBar {
    double pixels = 0.0;
    std::string label;  // "500 m", "2 km"
};

// The longest round length that fits in `maxPixels` where a pixel covers `metresPerPixel`.
ScaleBar scaleBar(double metresPerPixel, double maxPixels);

}  // namespace at
