#include "analysis/memory_view.h"

namespace at {

std::string MemoryAnalysisView::label(SummaryLabel which) const {
    const auto it = labels.find(which);
    return it == labels.end() ? std::string() : it->second;
}

}  // namespace at
