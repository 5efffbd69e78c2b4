#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/profile_chart.h"
#include "platform/number_locale.h"

namespace at {

// A chart that only remembers: the rows and the axis range. It stands in for the window's charts
// in the tests, where each row reads as the text the number rule makes of it in the chart's
// locale, the way the window shows numbers.
class MemoryProfileChart final : public ProfileChart {
  public:
    explicit MemoryProfileChart(NumberLocale locale = NumberLocale::point())
        : locale_(std::move(locale)) {}

    void setLocale(const NumberLocale& locale) { locale_ = locale; }

    void setRowCount(std::int32_t count) override;
    std::int32_t rowCount() const override { return static_cast<std::int32_t>(values_.size()); }
    void setRow(std::int32_t row) override { currentRow_ = row; }
    // A row outside 1 to the row count is ignored, as the window's chart does.
    void setRowValue(double value) override;
    void setValueAxisMinimum(double value) override { axisMinimum_ = value; }
    void setValueAxisMaximum(double value) override { axisMaximum_ = value; }

    // Row values, index 0 holding row 1; none for rows never written.
    const std::vector<std::optional<double>>& values() const { return values_; }
    // The same as texts; empty for rows never written.
    std::vector<std::string> rows() const;
    std::optional<double> axisMinimum() const { return axisMinimum_; }
    std::optional<double> axisMaximum() const { return axisMaximum_; }

  private:
    NumberLocale locale_;
    std::vector<std::optional<double>> values_;
    std::int32_t currentRow_ = 1;
    std::optional<double> axisMinimum_;
    std::optional<double> axisMaximum_;
};

}  // namespace at
