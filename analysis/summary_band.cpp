#include "analysis/summary_band.h"

#include "platform/runtime_error.h"

namespace at {

void appendSummaryText(std::string& out, const std::string& path, const MemoryAnalysisView& view) {
    out += "Archivo: ";
    out += displayableText(path, kShownPathChars);
    out += '\n';
    for (const auto& entry : kSummaryBand) {
        out += entry.caption;
        out += ' ';
        out += view.label(entry.label);
        out += '\n';
    }
    out += kStopListHeading;
    out += '\n';
    for (const auto& stop : view.stopList) {
        out += stop;
        out += '\n';
    }
}

}  // namespace at
