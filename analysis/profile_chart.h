#pragma once

#include <cstdint>

namespace at {

// A chart of one data series: rows numbered from 1 to the row count, one value per row, drawn in
// row order against a vertical value axis. The altitude and the speed profile are two of them: the
// pass writes their rows through this port, and the window's chart widgets implement it. Rows and
// counts travel in 32 bits; the pass keeps them to 16 where the track's numbering says so.
class ProfileChart {
  public:
    virtual ~ProfileChart() = default;

    virtual void setRowCount(std::int32_t count) = 0;
    virtual std::int32_t rowCount() const = 0;
    // The row the next value goes to.
    virtual void setRow(std::int32_t row) = 0;
    // The value of the current row, as the number its text shows (roundToShownDigits); a value
    // that is no finite number leaves the row as it was.
    virtual void setRowValue(double value) = 0;
    virtual void setValueAxisMinimum(double value) = 0;
    virtual void setValueAxisMaximum(double value) = 0;
};

}  // namespace at
