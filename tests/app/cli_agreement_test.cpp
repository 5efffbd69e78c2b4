#include <sstream>
#include <string>

#include "analysis/summary_band.h"
#include "cli/summary_command.h"
#include "tests/app/window_fixture.h"

namespace at::test {
namespace {

struct BandControls {
    SummaryLabel label;
    const char* value;
    const char* caption;
};

// Where each figure of the command line's summary stands in the window.
constexpr BandControls kControls[] = {
    {SummaryLabel::Climb, "lbl1", "lbldesnivel"},
    {SummaryLabel::DiscardedSamples, "lbl2", "lbltomas"},
    {SummaryLabel::Distance, "lbl3", "lbldistancia"},
    {SummaryLabel::LowestAltitude, "lbl4", "lblcota1"},
    {SummaryLabel::HighestAltitude, "lbl5", "lblcota2"},
    {SummaryLabel::LowestSpeed, "lbl6", "lblvel1"},
    {SummaryLabel::HighestSpeed, "lbl7", "lblvel2"},
    {SummaryLabel::TotalTime, "lblTiempo", "Label1"},
    {SummaryLabel::StopCount, "Label8", "Label9"},
    {SummaryLabel::StopTime, "Label10", "Label11"},
    {SummaryLabel::MovingTime, "Label14", "Label13"},
};

const char* captionControl(SummaryLabel label) {
    for (const auto& c : kControls) {
        if (c.label == label)
            return c.caption;
    }
    return "";
}

const char* valueControl(SummaryLabel label) {
    for (const auto& c : kControls) {
        if (c.label == label)
            return c.value;
    }
    return "";
}

class CliAgreement : public WindowTest, public testing::WithParamInterface<const char*> {};

// The window and the command line, each run for real on a sample track, show the same texts.
TEST_P(CliAgreement, SameTextsAsTheWindowForASampleTrack) {
    const NumberLocale locale{GetParam()};
    makeWindow(locale);
    const std::string sample = std::string(AT_SAMPLES_DIR) + "/ruta-sierra.plt";
    setText("txtArchivo", QString::fromStdString(sample));
    setText("Text1", "15");
    click("Command1");
    ASSERT_TRUE(messages->shown.empty());

    std::ostringstream out;
    std::ostringstream err;
    SummaryOptions options;
    options.thresholds.altitudeJump = "15";
    ASSERT_EQ(runSummary({sample}, options, out, err, locale), 0) << err.str();

    std::string expected = "Archivo: " + sample + "\n";
    for (const auto& entry : kSummaryBand) {
        EXPECT_EQ(text(captionControl(entry.label)).toStdString(), entry.caption);
        expected += text(captionControl(entry.label)).toStdString() + " " +
                    text(valueControl(entry.label)).toStdString() + "\n";
    }
    expected += text("Label12").toStdString() + "\n";
    for (const auto& stop : stops())
        expected += stop.toStdString() + "\n";
    EXPECT_FALSE(stops().isEmpty());
    EXPECT_EQ(out.str(), expected);
}

INSTANTIATE_TEST_SUITE_P(DecimalSeparators, CliAgreement, testing::Values(".", ","),
                         [](const auto& info) {
                             return std::string(info.param) == "." ? "point" : "comma";
                         });

}  // namespace
}  // namespace at::test
