#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "analysis/analysis_view.h"
#include "charts/memory_chart.h"

namespace at {

// An analysis view held in memory: the inputs are plain fields, the outputs are recorded.
class MemoryAnalysisView final : public AnalysisView {
  public:
    std::string path = "-vacio-";
    std::string altitudeJump = "20";
    std::string stopMinutes = "1";
    std::string stopSecondsInput = "10";

    std::vector<std::string> stopList;
    // The chart row where each stop began.
    std::vector<std::int16_t> stopRows;
    std::map<SummaryLabel, std::string> labels;
    MemoryProfileChart altitude;
    MemoryProfileChart speed;
    std::int16_t lastLinesRead = 0;
    float lastDistanceKm = 0.0f;
    // Every point's details, for the per-point export; a plain summary does without them.
    bool keepPoints = true;
    PointTable points;

    std::string trackPath() const override { return path; }
    std::string altitudeJumpText() const override { return altitudeJump; }
    std::string stopMinutesText() const override { return stopMinutes; }
    std::string stopSecondsText() const override { return stopSecondsInput; }

    void clearStopList() override {
        stopList.clear();
        stopRows.clear();
    }
    void addStopEntry(const std::string& entry, std::int16_t beganAtRow) override {
        stopList.push_back(entry);
        stopRows.push_back(beganAtRow);
    }
    void setSummaryLabel(SummaryLabel label, const std::string& text) override {
        labels[label] = text;
    }
    ProfileChart& altitudeChart() override { return altitude; }
    ProfileChart& speedChart() override { return speed; }
    void keepForReadout(std::int16_t linesRead, float distanceKm) override {
        lastLinesRead = linesRead;
        lastDistanceKm = distanceKm;
    }
    PointDetails& pointDetails() override {
        return keepPoints ? points : AnalysisView::pointDetails();
    }

    // The label's text, empty while nothing was written to it.
    std::string label(SummaryLabel which) const;
};

}  // namespace at
