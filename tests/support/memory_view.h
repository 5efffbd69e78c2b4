#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "analysis/analysis_result.h"
#include "analysis/analysis_view.h"
#include "tests/support/memory_chart.h"

namespace at {

// The window held in memory: the inputs are plain fields, everything the analysis writes is
// recorded, texts in the locale of the last analysis.
class MemoryAnalysisView final : public AnalysisView {
  public:
    std::string path = "-vacio-";
    std::string altitudeJump = "20";
    std::string stopMinutes = "1";
    std::string stopSecondsInput = "10";

    std::vector<std::string> stopList;
    std::map<SummaryLabel, std::string> labels;
    std::map<SummaryLabel, std::string> toolTips;
    std::string pathToolTip;
    MemoryProfileChart altitude;
    MemoryProfileChart speed;
    std::int32_t lastLinesRead = 0;
    float lastDistanceKm = 0.0f;
    PointTable points;
    // The result of the last analysis that reached its end.
    std::optional<AnalysisResult> result;

    void clearStopList() override { stopList.clear(); }
    void addStop(const Stop& stop) override;
    ProfileChart& altitudeChart() override { return altitude; }
    ProfileChart& speedChart() override { return speed; }
    void beginPoints() override { points.beginTrack(); }
    void addPoint(const PointDetail& detail) override { points.addPoint(detail); }
    void addPointSensors(const SensorReading& sensors) override { points.addSensors(sensors); }
    void setSummaryLabel(SummaryLabel label, const std::string& text) override {
        labels[label] = text;
    }
    void setSummaryToolTip(SummaryLabel label, const std::string& text) override {
        toolTips[label] = text;
    }
    void setPathToolTip(const std::string& text) override { pathToolTip = text; }
    void keepForReadout(std::int32_t linesRead, float distanceKm) override {
        lastLinesRead = linesRead;
        lastDistanceKm = distanceKm;
    }

    // The label's text, empty while nothing was written to it.
    std::string label(SummaryLabel which) const;

  private:
    friend TrackSummary runAnalysis(MemoryAnalysisView& view, const NumberLocale& locale);
    NumberLocale locale_;
};

// What the window's analysis does, on the view: the pass with the view's inputs, then the closing
// stage. Returns the summary; a failure is thrown as the window meets it.
TrackSummary runAnalysis(MemoryAnalysisView& view, const NumberLocale& locale);

}  // namespace at
