#include "charts/profile_drawing.h"

#include <algorithm>
#include <cmath>

namespace at {

std::vector<std::size_t> drawnRows(std::span<const double> values, std::size_t begin,
                                   std::size_t end, std::size_t columns) {
    end = std::min(end, values.size());
    std::vector<std::size_t> rows;
    if (begin >= end)
        return rows;
    const std::size_t shown = end - begin;
    if (columns == 0 || shown <= 2 * columns) {
        rows.reserve(shown);
        for (std::size_t i = begin; i < end; ++i) {
            if (!std::isnan(values[i]))
                rows.push_back(i);
        }
        return rows;
    }
    rows.reserve(2 * columns);
    for (std::size_t c = 0; c < columns; ++c) {
        const std::size_t first = begin + c * shown / columns;
        const std::size_t last = begin + (c + 1) * shown / columns;
        if (first >= last)
            continue;
        std::size_t low = last;
        std::size_t high = last;
        for (std::size_t i = first; i < last; ++i) {
            if (std::isnan(values[i]))
                continue;
            if (low == last || values[i] < values[low])
                low = i;
            if (high == last || values[i] > values[high])
                high = i;
        }
        if (low == last)
            continue;
        rows.push_back(std::min(low, high));
        if (high != low)
            rows.push_back(std::max(low, high));
    }
    return rows;
}

double niceStep(double span, int ticks) {
    const double raw = span / ticks;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (raw <= factor * power)
            return factor * power;
    }
    return 10.0 * power;
}

std::vector<double> ticksBetween(double low, double high, double step) {
    std::vector<double> ticks;
    if (!std::isfinite(step) || step <= 0.0 || !std::isfinite(low) || !std::isfinite(high))
        return ticks;
    // A margin of a millionth of a step keeps an end that lies on a tick despite rounding.
    const double first = std::ceil(low / step - 1e-6);
    const double last = std::floor(high / step + 1e-6);
    for (double k = first; k <= last && ticks.size() < 1000; ++k)
        ticks.push_back(k * step);
    return ticks;
}

}  // namespace at
