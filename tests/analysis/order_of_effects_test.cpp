#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/analysis_pass.h"
#include "analysis/summary_panel.h"
#include "platform/number_text.h"
#include "platform/runtime_error.h"
#include "tests/support/temp_dir.h"
#include "tests/support/track_text.h"

namespace at {
namespace {

// Writes every effect of the pass into one log, so the order between stop list, charts,
// labels and kept values can be checked.
class LoggingChart final : public ProfileChart {
  public:
    LoggingChart(std::string name, std::vector<std::string>& log)
        : name_(std::move(name)), log_(log) {}
    void setRowCount(std::int32_t n) override {
        count_ = n < 0 ? 0 : n;
        log_.push_back(name_ + " rows " + std::to_string(n));
    }
    std::int32_t rowCount() const override { return count_; }
    void setRow(std::int32_t r) override { log_.push_back(name_ + " row " + std::to_string(r)); }
    void setRowValue(double v) override {
        log_.push_back(name_ + " = " + formatDouble(v, NumberLocale::point()));
    }
    void setValueAxisMinimum(double v) override {
        log_.push_back(name_ + " min " + std::to_string(int(v)));
    }
    void setValueAxisMaximum(double v) override {
        log_.push_back(name_ + " max " + std::to_string(int(v)));
    }

  private:
    std::string name_;
    std::vector<std::string>& log_;
    std::int32_t count_ = 0;
};

class LoggingView final : public AnalysisView {
  public:
    std::vector<std::string> log;
    std::string path;
    void clearStopList() override { log.push_back("clear"); }
    void addStop(const Stop& stop) override {
        log.push_back("stop " + stopEntryText(stop, NumberLocale::point()) + " from row " +
                      std::to_string(stop.row));
    }
    void setSummaryLabel(SummaryLabel l, const std::string& t) override {
        log.push_back("label " + std::to_string(static_cast<int>(l)) + " " + t);
    }
    ProfileChart& altitudeChart() override { return altitude; }
    ProfileChart& speedChart() override { return speed; }
    void keepForReadout(std::int32_t lines, float km) override {
        log.push_back("keep " + std::to_string(lines) + " " + std::to_string(int(km)));
    }
    void beginPoints() override { log.push_back("points"); }
    void addPoint(const PointDetail& p) override {
        log.push_back("point " + std::to_string(p.point));
    }
    LoggingChart altitude{"A", log};
    LoggingChart speed{"S", log};
};

// The window's analysis: the pass, then the closing stage.
void analyse(LoggingView& view) {
    const AnalysisResult result = runAnalysis({view.path, {}}, NumberLocale::point(), view);
    writeSummary(result, view, NumberLocale::point());
}

TEST(OrderOfEffects, EachPointThenTheClosingStage) {
    test::TempDir dir;
    LoggingView view;
    view.path = dir.write(
        "t.plt", test::trackText({"1.0,1.0,0,1000,0,x,10:00:00", "1.0,1.0,0,1000,0,x,10:05:00"}));
    analyse(view);
    const std::vector<std::string> expected = {
        "clear",
        "A rows 2",
        "S rows 2",
        "points",
        "A row 1",
        "A = 304.8",
        "S row 1",
        "S = 0",
        "point 1",
        "stop 0 (5'0'') from row 1",
        "A row 2",
        "A = 304.8",
        "S row 2",
        "S = 0",
        "point 2",
        "label 0 0 mts",
        "label 1 0",
        "label 2 0 km",
        "label 3 304.8 mts",
        "label 4 304.8 mts",
        "label 5 0 km/h",
        "label 6 0 km/h",
        "label 7 00h 05' 00''",
        "A min 300",
        "A max 310",
        "keep 8 0",
        "label 8 1",
        "label 9 00h 05' 00''",
        "label 10 00h 00' 00''",
    };
    EXPECT_EQ(view.log, expected);
}

TEST(OrderOfEffects, AStopIsListedBeforeTheAltitudeOfItsPointIsRead) {
    test::TempDir dir;
    LoggingView view;
    view.path = dir.write(
        "t.plt", test::trackText({"1.0,1.0,0,1000,0,x,10:00:00", "1.0,1.0,0,mucho,0,x,10:05:00"}));
    EXPECT_THROW(analyse(view), RuntimeError);
    ASSERT_GE(view.log.size(), 2u);
    EXPECT_EQ(view.log[view.log.size() - 2], "stop 0 (5'0'') from row 1");
    EXPECT_EQ(view.log.back(), "A row 2");
}

}  // namespace
}  // namespace at
