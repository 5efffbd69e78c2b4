#include "analysis/summary_band.h"

#include "analysis/summary_panel.h"
#include "platform/runtime_error.h"

namespace at {

void appendSummaryText(std::string& out, const AnalysisResult& result, const NumberLocale& locale) {
    out += "Archivo: ";
    out += displayableText(result.inputs.trackPath, kShownPathChars);
    out += '\n';
    for (const auto& entry : kSummaryBand) {
        out += entry.caption;
        out += ' ';
        out += summaryFigure(entry.label, result.summary, locale);
        out += '\n';
    }
    out += kStopListHeading;
    out += '\n';
    for (const Stop& stop : result.stops) {
        out += stopEntryText(stop, locale);
        out += '\n';
    }
}

}  // namespace at
