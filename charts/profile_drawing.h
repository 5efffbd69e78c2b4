#pragma once

#include <cstddef>
#include <span>
#include <vector>

// What every drawing of a profile shares, the window's charts and the report's alike: which rows
// to draw when there are more rows than pixels, and where the ticks of an axis go.
namespace at {

// The indices of `values` from `begin` up to `end` (not included) to draw across `columns` pixel
// columns, in row order. Up to twice as many rows as columns are all drawn; beyond that each
// column keeps its lowest and its highest row, so peaks and dips survive the thinning. A row
// without a value (NaN) is never drawn.
std::vector<std::size_t> drawnRows(std::span<const double> values, std::size_t begin,
                                   std::size_t end, std::size_t columns);

// The same for rows placed along the axis at `positions` (a distance or a time), drawn over the
// range `low` to `high`: consecutive rows that fall in one pixel column keep their lowest and
// highest row, so a stop, where many rows share one place, draws as a single stroke. Here too a
// row without a value is never drawn.
std::vector<std::size_t> drawnRowsAlong(std::span<const double> values,
                                        std::span<const double> positions, std::size_t begin,
                                        std::size_t end, double low, double high,
                                        std::size_t columns);

// A tick spacing of 1, 2 or 5 times a power of ten that cuts `span` into about `ticks` intervals.
double niceStep(double span, int ticks);

// The multiples of `step` from `low` to `high`, both included; none for a step that is not
// positive and finite.
std::vector<double> ticksBetween(double low, double high, double step);

}  // namespace at
