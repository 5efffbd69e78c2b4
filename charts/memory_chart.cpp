#include "charts/memory_chart.h"

namespace at {

void MemoryProfileChart::setRowCount(std::int16_t count) {
    // The rows of an earlier pass that the new count still covers keep their values.
    rows_.resize(count > 0 ? static_cast<std::size_t>(count) : 0);
}

void MemoryProfileChart::setRowValue(std::string_view text) {
    if (currentRow_ >= 1 && static_cast<std::size_t>(currentRow_) <= rows_.size()) {
        rows_[static_cast<std::size_t>(currentRow_) - 1].assign(text);
    }
}

}  // namespace at
