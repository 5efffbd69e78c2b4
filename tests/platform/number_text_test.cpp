#include <gtest/gtest.h>

#include "tests/support/xorshift.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/number_text.h"
#include "platform/rounding.h"

namespace at {
namespace {

struct DoubleCase {
    double value;
    const char* point;
    const char* comma;
};

TEST(NumberText, DoublesShowShortestFormWithLocaleSeparator) {
    const DoubleCase cases[] = {
        {152.4, "152.4", "152,4"},
        {12.0, "12", "12"},
        {0.5, "0.5", "0,5"},
        {-3.25, "-3.25", "-3,25"},
        {-0.0, "0", "0"},
        {0.1 + 0.2, "0.3", "0,3"},  // 15 significant digits hide the binary noise
        {1e20, "1E+20", "1E+20"},
        {1.5e-7, "1.5E-07", "1,5E-07"},
        {123456789012345.0, "123456789012345", "123456789012345"},
        {999999999999999.0, "999999999999999", "999999999999999"},  // log10 rounds up to 15
        {999999999999999.9, "1E+15", "1E+15"},
        {1234567890123456.0, "1.23456789012346E+15", "1,23456789012346E+15"},
        {6000.0, "6000", "6000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatDouble(c.value, NumberLocale::point()), c.point) << c.value;
        EXPECT_EQ(formatDouble(c.value, NumberLocale::comma()), c.comma) << c.value;
    }
}

TEST(NumberText, SinglesShowAtMostSevenDigits) {
    EXPECT_EQ(formatSingle(12.3f, NumberLocale::point()), "12.3");
    EXPECT_EQ(formatSingle(4.24f, NumberLocale::comma()), "4,24");
    EXPECT_EQ(formatSingle(123456789.0f, NumberLocale::point()), "1.234568E+08");
    EXPECT_EQ(formatSingle(0.0f, NumberLocale::point()), "0");
    EXPECT_EQ(formatSingle(-0.0f, NumberLocale::point()), "0");
}

TEST(NumberText, NonFiniteValuesDoNotCrash) {
    EXPECT_FALSE(
        formatDouble(std::numeric_limits<double>::infinity(), NumberLocale::point()).empty());
    EXPECT_FALSE(
        formatDouble(std::numeric_limits<double>::quiet_NaN(), NumberLocale::point()).empty());
}

TEST(NumberText, AppendingFormsAddToTheText) {
    std::string text = "x=";
    appendDouble(text, 2.5, NumberLocale::comma());
    appendSingle(text, 1.25f, NumberLocale::point());
    EXPECT_EQ(text, "x=2,51.25");
}

TEST(Rounding, HalfToEvenAtTheScaledValue) {
    struct Case {
        double value;
        int decimals;
        double expected;
    };
    const Case cases[] = {
        {0.25, 1, 0.2},    {0.75, 1, 0.8},      {2.5, 0, 2.0},     {3.5, 0, 4.0},
        {-2.5, 0, -2.0},   {1202.5, 0, 1202.0}, {812.4, 0, 812.0}, {1203.5, 0, 1204.0},
        {4.2371, 2, 4.24}, {152.4, 1, 152.4},   {9.4339, 2, 9.43}, {0.0, 2, 0.0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(roundHalfEven(c.value, c.decimals), c.expected)
            << c.value << " to " << c.decimals;
    }
}

TEST(Rounding, SinglePrecisionStaysSingle) {
    EXPECT_EQ(roundHalfEven(12.25f, 1), 12.2f);
    EXPECT_EQ(formatSingle(roundHalfEven(12.25f, 1), NumberLocale::point()), "12.2");
    EXPECT_EQ(formatSingle(roundHalfEven(4.2371f, 2), NumberLocale::point()), "4.24");
}

TEST(Rounding, DownGoesTowardMinusInfinity) {
    EXPECT_EQ(roundDown(99.9), 99.0);
    EXPECT_EQ(roundDown(523.97), 523.0);
    EXPECT_EQ(roundDown(-0.5), -1.0);
    EXPECT_EQ(roundDown(7.0), 7.0);
}

}  // namespace
}  // namespace at

namespace at {
namespace {

// The fast path must give printf's text for every double, whatever its magnitude.
TEST(NumberText, DoublesMatchPrintfG15) {
    test::Xorshift next(88172645463325252ull);
    const double scales[] = {1e-310, 1e-7, 1e-4, 0.01, 1, 100, 304.8, 1e6, 1e14, 1e15, 1e16, 1e300};
    for (int i = 0; i < 200000; ++i) {
        double value;
        if (i % 3 == 0) {
            std::uint64_t bits = next();
            std::memcpy(&value, &bits, sizeof value);
            if (!std::isfinite(value))
                continue;
        } else {
            value = static_cast<double>(next() % 100000000) / 1000.0 * scales[i % 12];
            if (i % 5 == 0)
                value = std::round(value * 10) / 10;  // short decimals, the usual case
        }
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.15G", value);
        std::string printed = expected;
        if (printed == "-0")
            printed = "0";
        ASSERT_EQ(formatDouble(value, NumberLocale::point()), printed) << value;
    }
}

// Values with few binary digits, as speeds from single-precision distances are, often have an
// exact decimal expansion that ends on a 5 just past the fifteenth digit: an exact tie, which
// goes to the even digit as printf takes it.
TEST(NumberText, ExactTiesAtTheSixteenthDigitGoToEven) {
    test::Xorshift next(2463534242ull);
    int ties = 0;
    for (int i = 0; i < 100000; ++i) {
        const float covered = static_cast<float>(next() % 10000000) / 65536.0f;
        const double value =
            std::ldexp(static_cast<double>(covered), -static_cast<int>(next() % 40));
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.15G", value);
        // All the digits the value has: the sixteenth stands at index 16, behind "d.".
        char digits[128];
        std::snprintf(digits, sizeof digits, "%.60E", value);
        const std::string beyond(digits + 17, std::strchr(digits, 'E'));
        if (digits[16] == '5' && beyond.find_first_not_of('0') == std::string::npos)
            ++ties;
        ASSERT_EQ(formatDouble(value, NumberLocale::point()), expected) << digits;
    }
    EXPECT_GT(ties, 500);
}

// The charts take numbers, not texts: each must be, bit for bit, what its text reads back as.
TEST(NumberText, ShownDigitsAreWhatTheTextReadsBack) {
    test::Xorshift next(1181783497276652981ull);
    const double scales[] = {1e-11, 1e-9, 1e-4, 1, 304.8, 1e6, 1e14, 1e16};
    for (int i = 0; i < 200000; ++i) {
        double value = static_cast<double>(next() % 1000000000) / 997.0 * scales[i % 8];
        if (i % 2 == 0)
            value = -value;
        const std::string text = formatDouble(value, NumberLocale::point());
        const double back = std::strtod(text.c_str(), nullptr);
        const double shown = roundToShownDigits(value);
        ASSERT_EQ(std::memcmp(&back, &shown, sizeof back), 0) << text;
    }
    EXPECT_EQ(std::signbit(roundToShownDigits(-0.0)), false);
    EXPECT_TRUE(std::isnan(roundToShownDigits(std::nan(""))));
}

}  // namespace
}  // namespace at
