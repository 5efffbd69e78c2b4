#include "tests/support/memory_view.h"

#include "analysis/analysis_pass.h"
#include "analysis/summary_panel.h"

namespace at {

void MemoryAnalysisView::addStop(const Stop& stop) {
    stopList.push_back(stopEntryText(stop, locale_));
}

std::string MemoryAnalysisView::label(SummaryLabel which) const {
    const auto it = labels.find(which);
    return it == labels.end() ? std::string() : it->second;
}

TrackSummary runAnalysis(MemoryAnalysisView& view, const NumberLocale& locale) {
    view.result.reset();
    view.locale_ = locale;
    view.altitude.setLocale(locale);
    view.speed.setLocale(locale);
    AnalysisResult result = runAnalysis(
        {view.path, {view.altitudeJump, view.stopMinutes, view.stopSecondsInput}}, locale, view);
    writeSummary(result, view, locale);
    view.result = std::move(result);
    return view.result->summary;
}

}  // namespace at
