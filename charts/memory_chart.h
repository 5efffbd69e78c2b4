#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "charts/profile_chart.h"

namespace at {

// A chart that only remembers: rows as the texts it was given, and the axis range. It stands in
// for the window's charts where there is no window (tests, benchmarks, the command line).
class MemoryProfileChart final : public ProfileChart {
  public:
    void setRowCount(std::int16_t count) override;
    std::int16_t rowCount() const override { return static_cast<std::int16_t>(rows_.size()); }
    void setRow(std::int16_t row) override { currentRow_ = row; }
    // A row outside 1 to the row count is ignored, as the window's chart does.
    void setRowValue(std::string_view text) override;
    void setValueAxisMinimum(double value) override { axisMinimum_ = value; }
    void setValueAxisMaximum(double value) override { axisMaximum_ = value; }

    // Row texts, index 0 holding row 1; rows never written are empty.
    const std::vector<std::string>& rows() const { return rows_; }
    std::optional<double> axisMinimum() const { return axisMinimum_; }
    std::optional<double> axisMaximum() const { return axisMaximum_; }

  private:
    std::vector<std::string> rows_;
    std::int16_t currentRow_ = 1;
    std::optional<double> axisMinimum_;
    std::optional<double> axisMaximum_;
};

}  // namespace at
