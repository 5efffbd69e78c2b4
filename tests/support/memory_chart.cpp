#include "tests/support/memory_chart.h"

#include <cmath>

#include "platform/number_text.h"

namespace at {

void MemoryProfileChart::setRowCount(std::int32_t count) {
    // The rows of an earlier pass that the new count still covers keep their values.
    values_.resize(count > 0 ? static_cast<std::size_t>(count) : 0);
}

void MemoryProfileChart::setRowValue(double value) {
    if (std::isfinite(value) && currentRow_ >= 1 &&
        static_cast<std::size_t>(currentRow_) <= values_.size()) {
        values_[static_cast<std::size_t>(currentRow_) - 1] = value;
    }
}

std::vector<std::string> MemoryProfileChart::rows() const {
    std::vector<std::string> texts;
    texts.reserve(values_.size());
    for (const auto& value : values_)
        texts.push_back(value ? formatDouble(*value, locale_) : std::string());
    return texts;
}

}  // namespace at
