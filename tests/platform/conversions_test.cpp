#include <gtest/gtest.h>

#include "tests/support/xorshift.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/checked.h"
#include "platform/conversions.h"
#include "platform/runtime_error.h"

namespace at {
namespace {

// The kind of error a call ends with, or no value when it succeeds.
template <typename F>
std::optional<ErrorKind> failureOf(F&& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.kind();
    }
    return std::nullopt;
}

struct Int16Case {
    const char* text;
    const char* separator;
    std::optional<int> value;  // no value: the error below
    ErrorKind error = ErrorKind::TypeMismatch;
};

TEST(TextToInt16, ReadsWhatUsersTypeInTheirLocale) {
    const Int16Case cases[] = {
        {"20", ".", 20},
        {"  20 ", ".", 20},
        {"\t7", ",", 7},
        {"-7", ".", -7},
        {"+7", ".", 7},
        {"2.5", ".", 2},
        {"2,5", ",", 2},
        {"3,5", ",", 4},
        {"-2.5", ".", -2},
        {",5", ",", 0},
        {"32767", ".", 32767},
        {"-32768", ".", -32768},
        {"-32768.5", ".", -32768},
        {"32767.5", ".", std::nullopt, ErrorKind::Overflow},
        {"32768", ".", std::nullopt, ErrorKind::Overflow},
        {"-32769", ".", std::nullopt, ErrorKind::Overflow},
        {"99999999999999999999999999", ".", std::nullopt, ErrorKind::Overflow},
        {"", ".", std::nullopt},
        {"   ", ".", std::nullopt},
        {"abc", ".", std::nullopt},
        {"2.5", ",", std::nullopt},
        {"2,5", ".", std::nullopt},
        {"1e3", ".", std::nullopt},
        {"1 000", ".", std::nullopt},
        {"-", ".", std::nullopt},
        {"1.2.3", ".", std::nullopt},
    };
    for (const auto& c : cases) {
        const NumberLocale locale{c.separator};
        if (c.value) {
            EXPECT_EQ(textToInt16(c.text, locale), *c.value) << '"' << c.text << '"';
        } else {
            EXPECT_EQ(failureOf([&] { textToInt16(c.text, locale); }), c.error)
                << '"' << c.text << '"';
        }
    }
}

TEST(TextToInt16, ErrorCarriesTheOffendingText) {
    try {
        textToInt16("doce", NumberLocale::point());
        FAIL();
    } catch (const RuntimeError& e) {
        ASSERT_TRUE(e.text());
        EXPECT_EQ(*e.text(), "doce");
    }
}

TEST(DigitsToInt32, WholeNumbersWithSignAndBlanks) {
    EXPECT_EQ(digitsToInt32("47466222"), 47466222);
    EXPECT_EQ(digitsToInt32("   -3747318 "), -3747318);
    EXPECT_EQ(digitsToInt32("+12"), 12);
    EXPECT_EQ(digitsToInt32("2147483647"), 2147483647);
    EXPECT_EQ(digitsToInt32("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(digitsToInt32("0000000000000000000000012"), 12);
    for (const char* bad : {"", " ", "-", "12a", "1 2", "1.5", "4\x01"}) {
        EXPECT_EQ(failureOf([&] { digitsToInt32(bad); }), ErrorKind::TypeMismatch) << bad;
    }
    for (const char* big : {"2147483648", "-2147483649", "99999999999999999999999"}) {
        EXPECT_EQ(failureOf([&] { digitsToInt32(big); }), ErrorKind::Overflow) << big;
    }
}

TEST(ParseInvariantDecimal, PointIsTheDecimalSeparatorWhateverTheLocale) {
    EXPECT_DOUBLE_EQ(parseInvariantDecimal(" 1258.8").value(), 1258.8);
    EXPECT_DOUBLE_EQ(parseInvariantDecimal("853.0").value(), 853.0);
    EXPECT_DOUBLE_EQ(parseInvariantDecimal("-12").value(), -12.0);
    EXPECT_FALSE(parseInvariantDecimal("1,5"));
    EXPECT_FALSE(parseInvariantDecimal(""));
    EXPECT_FALSE(parseInvariantDecimal("1.2.3"));
}

TEST(TextToTimeOfDay, TimesOfDayAndWhatIsNotOne) {
    EXPECT_DOUBLE_EQ(textToTimeOfDay("12:21:32"), (12 * 3600 + 21 * 60 + 32) / 86400.0);
    EXPECT_DOUBLE_EQ(textToTimeOfDay("00:00:00"), 0.0);
    EXPECT_DOUBLE_EQ(textToTimeOfDay("23:59:59"), 86399 / 86400.0);
    EXPECT_DOUBLE_EQ(textToTimeOfDay(" 7:05:09"), (7 * 3600 + 5 * 60 + 9) / 86400.0);
    EXPECT_DOUBLE_EQ(textToTimeOfDay("07:52"), (7 * 3600 + 52 * 60) / 86400.0);
    for (const char* bad : {"25:61:61", "24:00:00", "12:60:00", "12:00:60", "ab:cd:ef", "",
                            "12:21:3X", "12-21-32", "123:21:32", "12:21:32:", ":21:32"}) {
        EXPECT_EQ(failureOf([&] { textToTimeOfDay(bad); }), ErrorKind::TypeMismatch) << bad;
    }
}

TEST(SecondsBetween, WholeSecondsOfTimesOfDay) {
    EXPECT_EQ(secondsBetween(textToTimeOfDay("07:52:19"), textToTimeOfDay("07:55:44")), 205);
    EXPECT_EQ(secondsBetween(textToTimeOfDay("23:59:50"), textToTimeOfDay("00:00:10")), -86380);
    EXPECT_EQ(secondsBetween(0.0, 0.0), 0);
}

TEST(CheckedArithmetic, LeavingTheRangeIsAnOverflowNeverAWrapAround) {
    EXPECT_EQ(mul16(546, 60), 32760);
    EXPECT_EQ(add16(32760, 7), 32767);
    EXPECT_EQ(failureOf([] { add16(32760, 8); }), ErrorKind::Overflow);
    EXPECT_EQ(failureOf([] { mul16(547, 60); }), ErrorKind::Overflow);
    EXPECT_EQ(failureOf([] { mul16(-547, 60); }), ErrorKind::Overflow);
    EXPECT_EQ(add16(-32768, 0), -32768);
    EXPECT_EQ(failureOf([] { add32(2147483647, 1); }), ErrorKind::Overflow);
    EXPECT_EQ(failureOf([] { sub32(-2000000000, 2000000000); }), ErrorKind::Overflow);
    EXPECT_EQ(sub32(2000000000, 2000000000), 0);
    EXPECT_EQ(failureOf([] { toInt16Checked(40000); }), ErrorKind::Overflow);
    EXPECT_EQ(toInt16Checked(-6), -6);
}

}  // namespace
}  // namespace at

namespace at {
namespace {

// The quick way for short numbers must agree with the full conversion on every text.
TEST(ParseInvariantDecimal, AgreesWithTheFullConversion) {
    test::Xorshift next(0x9E3779B97F4A7C15ull);
    for (int i = 0; i < 100000; ++i) {
        std::string text = (next() % 4 == 0) ? "-" : "";
        const int whole = static_cast<int>(next() % 12);
        const int fraction = static_cast<int>(next() % 25);
        for (int d = 0; d < whole; ++d)
            text += static_cast<char>('0' + next() % 10);
        if (fraction > 0 || whole == 0) {
            text += '.';
            for (int d = 0; d < std::max(fraction, 1); ++d)
                text += static_cast<char>('0' + next() % 10);
        }
        const double expected = std::strtod(text.c_str(), nullptr);
        ASSERT_EQ(parseInvariantDecimal(text).value(), expected) << text;
    }
}

}  // namespace
}  // namespace at
