#include "analysis/summary_band.h"

#include "analysis/activity_lines.h"
#include "analysis/summary_panel.h"
#include "platform/runtime_error.h"

namespace at {

void appendSummaryText(std::string& out, const AnalysisResult& result, const NumberLocale& locale,
                       int tracksInFile) {
    out += "Archivo: ";
    out += displayableText(result.inputs.trackPath, kShownPathChars);
    out += '\n';
    if (tracksInFile > 1) {
        out +=
            "Track: " + std::to_string(result.inputs.track) + " de " + std::to_string(tracksInFile);
        if (result.heading && !result.heading->name.empty())
            out += " · " + displayableText(result.heading->name, kShownPathChars);
        out += '\n';
    }
    for (const auto& entry : kSummaryBand) {
        out += entry.caption;
        out += ' ';
        out += summaryFigure(entry.label, result.summary, locale);
        out += '\n';
    }
    appendActivityLines(out, result, locale);
    out += kStopListHeading;
    out += '\n';
    for (const Stop& stop : result.stops) {
        out += stopEntryText(stop, locale);
        out += '\n';
    }
    appendLapLines(out, result, locale);
}

}  // namespace at
