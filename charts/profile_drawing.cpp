#include "charts/profile_drawing.h"

#include <algorithm>
#include <cmath>
#include <optional>

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

std::vector<std::size_t> drawnRowsAlong(std::span<const double> values,
                                        std::span<const double> positions, std::size_t begin,
                                        std::size_t end, double low, double high,
                                        std::size_t columns) {
    end = std::min({end, values.size(), positions.size()});
    std::vector<std::size_t> rows;
    if (begin >= end)
        return rows;
    if (columns == 0 || end - begin <= 2 * columns || !(high > low)) {
        for (std::size_t i = begin; i < end; ++i) {
            if (!std::isnan(values[i]))
                rows.push_back(i);
        }
        return rows;
    }
    const double perUnit = static_cast<double>(columns) / (high - low);
    const auto columnOf = [&](std::size_t i) { return std::floor((positions[i] - low) * perUnit); };
    std::size_t first = begin;
    while (first < end) {
        const double column = columnOf(first);
        std::optional<std::size_t> lowest;
        std::optional<std::size_t> highest;
        std::size_t i = first;
        for (; i < end && columnOf(i) == column; ++i) {
            if (std::isnan(values[i]))
                continue;
            if (!lowest || values[i] < values[*lowest])
                lowest = i;
            if (!highest || values[i] > values[*highest])
                highest = i;
        }
        first = i;
        if (!lowest)
            continue;
        rows.push_back(std::min(*lowest, *highest));
        if (*highest != *lowest)
            rows.push_back(std::max(*lowest, *highest));
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
