#include "charts/scale_bar.h"

#include <cmath>

namespace at {

ScaleBar scaleBar(double metresPerPixel, double maxPixels) {
    const double longest = metresPerPixel * maxPixels;
    const double power = std::pow(10.0, std::floor(std::log10(longest)));
    double metres = power;
    for (const double factor : {5.0, 2.0}) {
        if (factor * power <= longest) {
            metres = factor * power;
            break;
        }
    }
    // Whole metres or whole kilometres: no decimal separator to get wrong.
    const std::string label = metres >= 1000.0
                                  ? std::to_string(std::llround(metres / 1000.0)) + " km"
                                  : std::to_string(std::llround(metres)) + " m";
    return {metres / metresPerPixel, label};
}

}  // namespace at
