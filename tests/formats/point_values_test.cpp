// Values as the formats write them, turned into what a six-decimal point line carries.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "formats/point_values.h"
#include "platform/conversions.h"
#include "platform/runtime_error.h"
#include "tests/support/track_formats.h"

namespace at {
namespace {

TEST(DecimalToMillionths, RoundsHalfToEvenOnTheDigits) {
    const struct {
        const char* text;
        std::optional<std::int64_t> expected;
    } cases[] = {
        {"40.416775", 40416775},  {"-3.703790", -3703790},
        {"  12.5\n", 12500000},   {"+1", 1000000},
        {".5", 500000},           {"7.", 7000000},
        {"0.0000005", 0},      // a half: to the even 0
        {"0.0000015", 2},      // a half: to the even 2
        {"0.00000050001", 1},  // above a half
        {"-0.0000025", -2},    // symmetric
        {"0.0000004999", 0},      {"40.41677549999999", 40416775},
        {"40.4167755", 40416776},  // a half, 5 is odd: up
        {"", std::nullopt},       {"-", std::nullopt},
        {"1e5", std::nullopt},    {"4,5", std::nullopt},
        {"1.2.3", std::nullopt},  {"12 3", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decimalToMillionths(c.text), c.expected) << "«" << c.text << "»";
}

TEST(DecimalToMillionths, HugeNumbersStayHugeForTheOverflowCheck) {
    const auto value = decimalToMillionths("123456789012345678901234567890");
    ASSERT_TRUE(value);
    EXPECT_GT(*value, std::int64_t{INT32_MAX});
}

TEST(SemicirclesToMillionths, ExactFractionRoundedHalfToEven) {
    const struct {
        std::int32_t semicircles;
        std::int64_t expected;
    } cases[] = {
        {0, 0},
        {1073741824, 90000000},  // 2^30 is 90 degrees
        {-1073741824, -90000000},
        {2147483647, 180000000},  // 179.99999991618...
        {-2147483647 - 1, -180000000},
        {482195994, 40417201},  // 40.4172013...
        {12, 1},                // 1.0058 millionths
        {6, 1},                 // 0.5029: above a half
    };
    for (const auto& c : cases)
        EXPECT_EQ(semicirclesToMillionths(c.semicircles), c.expected) << c.semicircles;
}

TEST(MetresToFeet, WholeFeetHalfToEvenAndSixteenBits) {
    EXPECT_EQ(metresToFeet(0.0), 0);
    EXPECT_EQ(metresToFeet(650.5), 2134);  // 2134.186
    EXPECT_EQ(metresToFeet(-10.0), -33);   // -32.8
    EXPECT_EQ(metresToFeet(0.1524), 0);    // exactly half a foot: to the even 0
    EXPECT_EQ(metresToFeet(0.4572), 2);    // one and a half feet: to the even 2
    EXPECT_EQ(metresToFeet(9987.0), 32766);
    try {
        metresToFeet(10000.0);
        ADD_FAILURE() << "10000 m is 32808 ft";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.kind(), ErrorKind::Overflow);
    }
}

TEST(ParseXmlDateTime, ZonesFractionsAndFaults) {
    const std::int64_t base = 1714557600;  // 2024-05-01T10:00:00Z
    const struct {
        const char* text;
        std::optional<std::int64_t> expected;
    } cases[] = {
        {"2024-05-01T10:00:00Z", base},
        {" 2024-05-01T10:00:00Z\n", base},
        {"2024-05-01T10:00:00", base},  // no zone: UTC, as GPX writes
        {"2024-05-01T10:00:00.999Z", base},
        {"2024-05-01T12:00:00+02:00", base},
        {"2024-05-01T05:30:00-04:30", base},
        {"2024-05-01T24:00:00Z", base + 14 * 3600},
        {"2024-02-29T00:00:00Z", 1709164800},
        {"1970-01-01T00:00:00Z", 0},
        {"2023-02-29T00:00:00Z", std::nullopt},
        {"2024-05-01 10:00:00Z", std::nullopt},
        {"2024-05-01T10:00Z", std::nullopt},
        {"2024-13-01T10:00:00Z", std::nullopt},
        {"2024-05-01T10:60:00Z", std::nullopt},
        {"2024-05-01T10:00:00.Z", std::nullopt},
        {"2024-05-01T10:00:00+0200", std::nullopt},
        {"2024-05-01T10:00:00Zx", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseXmlDateTime(c.text), c.expected) << "«" << c.text << "»";
}

TEST(LocalClock, TimeOfDayAndDayInTheMachinesZone) {
    // Central European time: +1 in winter, +2 from the last Sunday of March at 01:00 UTC.
    const test::ScopedTimeZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
    const struct {
        std::int64_t unixSeconds;
        int secondOfDay;
        std::int32_t day;
    } cases[] = {
        {1714557600, 12 * 3600, 45413},                    // 2024-05-01 10:00Z: 12:00 summer
        {1704067200 - 1, 59 * 60 + 59, 45292},             // 2023-12-31 23:59:59Z: 00:59:59
        {1711846800 - 1, 1 * 3600 + 59 * 60 + 59, 45382},  // 2024-03-31 00:59:59Z: 01:59:59
        {1711846800, 3 * 3600, 45382},                     // one second later: 03:00:00
        {0, 3600, 25569},                                  // 1970-01-01 01:00
    };
    LocalClock clock;
    for (const auto& c : cases) {
        const LocalTime t = clock.at(c.unixSeconds);
        EXPECT_EQ(t.timeOfDay, timeOfDayFromSeconds(c.secondOfDay)) << c.unixSeconds;
        EXPECT_EQ(t.day, c.day) << c.unixSeconds;
    }
}

}  // namespace
}  // namespace at
