#include <gtest/gtest.h>

#include <optional>

#include "analysis/analysis_settings.h"
#include "analysis/stop_check.h"
#include "platform/conversions.h"
#include "platform/number_text.h"
#include "platform/runtime_error.h"

namespace at {
namespace {

TEST(AnalysisSettings, ThresholdTextsInSixteenBitArithmetic) {
    struct Case {
        const char* jump;
        const char* minutes;
        const char* seconds;
        const char* separator;
        std::optional<std::pair<int, int>> settings;  // no value: the error below
        ErrorKind error = ErrorKind::Overflow;
    };
    const Case cases[] = {
        {"20", "1", "10", ".", std::pair{20, 70}},
        {" 0 ", "0", "0", ",", std::pair{0, 0}},
        {"2,5", "0,5", "1", ",", std::pair{2, 1}},
        {"20", "546", "7", ".", std::pair{20, 32767}},
        {"20", "-1", "10", ".", std::pair{20, -50}},
        {"20", "546", "8", ".", std::nullopt},
        {"20", "547", "0", ".", std::nullopt},
        {"20", "-547", "0", ".", std::nullopt},
        {"40000", "1", "10", ".", std::nullopt},
        {"abc", "1", "10", ".", std::nullopt, ErrorKind::TypeMismatch},
        {"20", "", "10", ".", std::nullopt, ErrorKind::TypeMismatch},
        {"20", "1", "1.5", ",", std::nullopt, ErrorKind::TypeMismatch},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.jump) + " | " + c.minutes + " | " + c.seconds);
        const NumberLocale locale{c.separator};
        if (c.settings) {
            const auto s = readAnalysisSettings(c.jump, c.minutes, c.seconds, locale);
            EXPECT_EQ(s.altitudeJumpLimit, c.settings->first);
            EXPECT_EQ(s.stopGapSeconds, c.settings->second);
        } else {
            try {
                readAnalysisSettings(c.jump, c.minutes, c.seconds, locale);
                ADD_FAILURE() << "no error";
            } catch (const RuntimeError& e) {
                EXPECT_EQ(e.kind(), c.error);
                EXPECT_TRUE(e.field().has_value());
            }
        }
    }
}

TEST(FormatDuration, HoursMinutesSecondsWithTwoDigitsAtLeast) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, "00h 00' 00''"},           {59, "00h 00' 59''"},      {3725, "01h 02' 05''"},
        {7200 - 3725, "00h 57' 55''"}, {36000, "10h 00' 00''"},   {360000, "100h 00' 00''"},
        {-3725, "-01h 02' 05''"},      {-86380, "-23h 59' 40''"},
    };
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(formatDuration(seconds), text) << seconds;
}

DateTime at(const char* clock) {
    return textToTimeOfDay(clock);
}

TEST(StopCheck, OnlyGapsLongerThanTheThresholdAreStops) {
    struct Case {
        const char* from;
        const char* to;
        float km;
        std::int16_t threshold;
        const char* separator;
        std::optional<std::string> entry;
    };
    const Case cases[] = {
        {"10:00:00", "10:03:25", 4.2371f, 70, ".", "4.24 (3'25'')"},
        {"10:00:00", "10:03:25", 4.2371f, 70, ",", "4,24 (3'25'')"},
        {"10:00:00", "10:01:10", 1.0f, 70, ".", std::nullopt},
        {"10:00:00", "10:01:11", 1.0f, 70, ".", "1 (1'11'')"},
        {"10:00:00", "10:01:05", 2.5f, 60, ".", "2.5 (1'5'')"},
        {"10:00:00", "10:00:45", 0.0f, 30, ".", "0 (0'45'')"},
        {"10:00:00", "11:01:40", 12.345f, 70, ".", "12.35 (61'40'')"},
        {"10:00:00", "10:00:00", 3.0f, -1, ".", "3 (0'0'')"},
        {"10:00:30", "10:00:00", 3.0f, -31, ".", "3 (-1'-30'')"},
        {"23:59:50", "00:00:10", 3.0f, 0, ".", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " -> " + c.to);
        StopTotals totals;
        const auto stop = checkStop(at(c.from), at(c.to), c.km, c.threshold, totals);
        const auto entry =
            stop ? std::optional(stopEntryText(*stop, NumberLocale{c.separator})) : std::nullopt;
        EXPECT_EQ(entry, c.entry);
        EXPECT_EQ(totals.stopCount, entry ? 1 : 0);
    }
}

TEST(StopCheck, TotalsSumWholeGapsAndTheCountOverflowsPast32767) {
    StopTotals totals;
    checkStop(at("10:00:00"), at("10:03:25"), 0, 70, totals);
    checkStop(at("10:03:25"), at("10:04:36"), 0, 70, totals);
    EXPECT_EQ(totals.stopCount, 2);
    EXPECT_EQ(totals.stopSeconds, 205 + 71);

    totals.stopCount = 32767;
    try {
        checkStop(at("10:00:00"), at("10:03:25"), 0, 70, totals);
        FAIL();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.kind(), ErrorKind::Overflow);
    }
}

}  // namespace
}  // namespace at
