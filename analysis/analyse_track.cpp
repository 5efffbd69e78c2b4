#include "analysis/analyse_track.h"

#include "analysis/analysis_pass.h"
#include "analysis/summary_panel.h"

namespace at {
namespace {

// A chart that keeps its row count only: the speed chart takes the altitude chart's.
class RowCountOnly final : public ProfileChart {
  public:
    void setRowCount(std::int32_t count) override { count_ = count; }
    std::int32_t rowCount() const override { return count_; }
    void setRow(std::int32_t) override {}
    void setRowValue(double) override {}
    void setValueAxisMinimum(double) override {}
    void setValueAxisMaximum(double) override {}

  private:
    std::int32_t count_ = 0;
};

class NoWindow final : public AnalysisView {
  public:
    void clearStopList() override {}
    void addStop(const Stop&) override {}
    ProfileChart& altitudeChart() override { return altitude_; }
    ProfileChart& speedChart() override { return speed_; }
    void setSummaryLabel(SummaryLabel, const std::string&) override {}
    void keepForReadout(std::int32_t, float) override {}

  private:
    RowCountOnly altitude_;
    RowCountOnly speed_;
};

}  // namespace

AnalysisResult analyseTrack(const AnalysisInputs& inputs, const NumberLocale& locale) {
    NoWindow window;
    AnalysisResult result = runAnalysis(inputs, locale, window);
    writeSummary(result, window, locale);
    return result;
}

}  // namespace at
