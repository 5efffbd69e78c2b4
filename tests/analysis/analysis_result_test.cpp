// One result from one pass: what the window shows while the pass runs and in its closing stage is
// what the result holds, and every text made from the result is the window's.
#include <gtest/gtest.h>

#include "analysis/analyse_track.h"
#include "analysis/summary_band.h"
#include "analysis/summary_panel.h"
#include "platform/runtime_error.h"
#include "tests/support/memory_view.h"
#include "tests/support/temp_dir.h"
#include "tests/support/track_text.h"

namespace at {
namespace {

TEST(AnalysisResult, HoldsWhatTheWindowShows) {
    test::TempDir dir;
    std::vector<std::string> lines;
    for (int i = 0; i < 12; ++i) {
        // A rest of five minutes after the fourth point and one of two after the ninth.
        const int second = 36000 + 20 * i + (i >= 4 ? 300 : 0) + (i >= 9 ? 120 : 0);
        lines.push_back(
            test::pointLine(40.0 + 0.001 * i, -3.5, 1000 + 15 * i, test::clock(second)));
    }
    MemoryAnalysisView view;
    view.path = dir.write("ruta.plt", test::trackText(lines));
    view.stopMinutes = "0";
    view.stopSecondsInput = "90";
    for (const auto& locale : {NumberLocale::point(), NumberLocale::comma()}) {
        runAnalysis(view, locale);
        ASSERT_TRUE(view.result.has_value());
        const AnalysisResult& result = *view.result;
        EXPECT_EQ(result.inputs.trackPath, view.path);
        EXPECT_EQ(result.inputs.thresholds.stopSeconds, "90");
        EXPECT_EQ(result.settings.altitudeJumpLimit, 20);
        EXPECT_EQ(result.settings.stopGapSeconds, 90);
        for (const auto& entry : kSummaryBand)
            EXPECT_EQ(summaryFigure(entry.label, result.summary, locale), view.label(entry.label));
        ASSERT_EQ(result.stops.size(), 2u);
        ASSERT_EQ(view.stopList.size(), 2u);
        EXPECT_EQ(result.stops[0].row, 4);
        EXPECT_EQ(result.stops[1].row, 9);
        for (std::size_t s = 0; s < result.stops.size(); ++s)
            EXPECT_EQ(stopEntryText(result.stops[s], locale), view.stopList[s]);
        ASSERT_EQ(result.points.size(), lines.size());
        EXPECT_EQ(result.points.back().distanceKm, result.summary.distanceKm);
        EXPECT_EQ(view.points.points().size(), lines.size());

        // The command line's analysis gives the same result, and its text is the band's.
        const AnalysisResult plain = analyseTrack(result.inputs, locale);
        std::string text;
        appendSummaryText(text, plain, locale);
        std::string shown = "Archivo: " + view.path + "\n";
        for (const auto& entry : kSummaryBand)
            shown += std::string(entry.caption) + " " + view.label(entry.label) + "\n";
        shown += "Paradas\n" + view.stopList[0] + "\n" + view.stopList[1] + "\n";
        EXPECT_EQ(text, shown);
    }

    // A pass that fails leaves no result.
    view.altitudeJump = "mucho";
    EXPECT_THROW(runAnalysis(view, NumberLocale::point()), RuntimeError);
    EXPECT_FALSE(view.result.has_value());
}

}  // namespace
}  // namespace at
