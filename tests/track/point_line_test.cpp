#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "platform/runtime_error.h"
#include "track/point_line.h"

namespace at {
namespace {

int secondsOf(DateTime t) {
    return static_cast<int>(std::lround(t * 86400.0));
}
int hms(int h, int m, int s) {
    return h * 3600 + m * 60 + s;
}

struct GoodLine {
    const char* name;
    std::string line;
    std::int32_t latitude;
    std::int32_t longitude;
    std::int16_t feet;
    int second;
};

TEST(PointLine, ReadsTheLayoutsGpsSoftwareWrites) {
    const GoodLine cases[] = {
        {"plain", "47.466222,3.747318,0,853,39307.3279977,13-08-07,07:52:19", 47466222, 3747318,
         853, hms(7, 52, 19)},
        {"blanks, fractional altitude, localised date (Windows-1252), blank before the time",
         "  47.466222,   3.747318,0, 1258.8,39307.3279977, 13-ao\xFBt-07, 07:52:19", 47466222,
         3747318, 1259, hms(7, 52, 19)},
        {"time only in the day count of field 5", "47.466222,3.747318,1,1258.8,39307.3280015,,",
         47466222, 3747318, 1259, hms(7, 52, 19)},
        {"blank field 7 falls back to field 5 too", "47.466222,3.747318,1,100,39307.5,,   ",
         47466222, 3747318, 100, hms(12, 0, 0)},
        {"a non-empty field 7 wins over field 5", "1.000000,2.000000,0,5,39307.5,x,01:02:03",
         1000000, 2000000, 5, hms(1, 2, 3)},
        {"comma and text behind the seconds", "1.0,2.0,0,5,0,x,12:21:32,foo,bar", 1000000, 2000000,
         5, hms(12, 21, 32)},
        {"blank behind the sixth comma keeps the last digit", "1,2,0,5,0,x, 12:21:32", 1, 2, 5,
         hms(12, 21, 32)},
        {"negative and padded", "  -33.123456 , -70.654321 ,0,  -30  ,0,x,23:59:59", -33123456,
         -70654321, -30, hms(23, 59, 59)},
        {"every point dropped", "4.7.466222,3.747318,0,853.0,0,x,00:00:00", 47466222, 3747318, 853,
         0},
        {"five and seven decimals are brought to six", "47.46622,3.7473181,0,853,0,x,00:00:01",
         47466220, 3747318, 853, 1},
        {"altitude halves go to even", "1,2,0,2.5,0,x,00:00:01", 1, 2, 2, 1},
        {"field 5 fraction rounding to a whole day is midnight", "1,2,0,3,39307.999999999,,", 1, 2,
         3, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TrackPoint p = readPointLine(c.line);
        EXPECT_EQ(p.latitudeDigits, c.latitude);
        EXPECT_EQ(p.longitudeDigits, c.longitude);
        EXPECT_EQ(p.altitudeFeet, c.feet);
        EXPECT_EQ(secondsOf(p.timeOfDay), c.second);
    }
}

struct BadLine {
    std::string line;
    ErrorKind kind;
    std::optional<std::string> field;  // the field the message names
};

TEST(PointLine, BadFieldsEndWithTheRightErrorNamingTheField) {
    const BadLine cases[] = {
        {"47.466222,3.747318,0,853,0,07:52:19", ErrorKind::TypeMismatch, std::nullopt},
        {"", ErrorKind::TypeMismatch, std::nullopt},
        {"garbage", ErrorKind::TypeMismatch, std::nullopt},
        {",3.747318,0,853,0,x,07:52:19", ErrorKind::TypeMismatch, "latitud (campo 1)"},
        {"47.4a,3.747318,0,853,0,x,07:52:19", ErrorKind::TypeMismatch, "latitud (campo 1)"},
        {"4746622200.0,3.7,0,853,0,x,07:52:19", ErrorKind::Overflow, "latitud (campo 1)"},
        {"47.5,,0,853,0,x,07:52:19", ErrorKind::TypeMismatch, "longitud (campo 2)"},
        {"47.5,-9999999999,0,853,0,x,07:52:19", ErrorKind::Overflow, "longitud (campo 2)"},
        {"47.5,3.7,0,alto,0,x,07:52:19", ErrorKind::TypeMismatch, "altitud (campo 4)"},
        {"47.5,3.7,0,,0,x,07:52:19", ErrorKind::TypeMismatch, "altitud (campo 4)"},
        {"47.5,3.7,0,853,5,0,x,07:52:19", ErrorKind::TypeMismatch, "hora (campo 7)"},
        {"47.5,3.7,0,40000,0,x,07:52:19", ErrorKind::Overflow, "altitud (campo 4)"},
        {"47.5,3.7,0,853,0,x,25:61:61", ErrorKind::TypeMismatch, "hora (campo 7)"},
        {"47.5,3.7,0,853,0,x,ab:cd:ef", ErrorKind::TypeMismatch, "hora (campo 7)"},
        {"47.5,3.7,0,853,hoy,,", ErrorKind::TypeMismatch, "hora (campo 5)"},
        {std::string("47.5,3.7,0,8\0"
                     "53,0,x,07:52:19",
                     28),
         ErrorKind::TypeMismatch, "altitud (campo 4)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        try {
            readPointLine(c.line);
            ADD_FAILURE() << "no error";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.kind(), c.kind);
            EXPECT_EQ(e.field(), c.field);
            EXPECT_TRUE(e.text().has_value());
        }
    }
}

// Decimal degrees with one "." are brought to six decimals; without a "." or with several,
// every "." goes and the digits are read as they stand.
TEST(PointLine, CoordinatesAreMillionthsOfADegreeWhateverTheDecimalsWritten) {
    const struct {
        const char* text;
        std::int32_t millionths;
    } cases[] = {
        {"39.9847", 39984700},
        {"-3.5", -3500000},
        {"40.123456", 40123456},
        {"40.1234565", 40123456},
        {"40.1234575", 40123458},
        {"40.12345651", 40123457},
        {"-40.1234565", -40123456},
        {"-40.1234575", -40123458},
        {"40.9999995", 41000000},
        {"  39.5  ", 39500000},
        {"+39.5", 39500000},
        {"39.", 39000000},
        {".5", 500000},
        {"-.000001", -1},
        {"-0.0000004", 0},
        {"2147.483647", 2147483647},
        {"-2147.483648", -2147483647 - 1},
        {"2147.4836474", 2147483647},
        {"3998", 3998},
        {"1234.5", 1234500000},
        {"39.98.47", 399847},
    };
    for (const auto& c : cases)
        EXPECT_EQ(convertCoordinate(c.text), c.millionths) << c.text;

    const struct {
        const char* text;
        ErrorKind kind;
    } bad[] = {
        {"2147.483648", ErrorKind::Overflow},  {"3333333333.333333", ErrorKind::Overflow},
        {"2147.4836475", ErrorKind::Overflow}, {"99999999999.5", ErrorKind::Overflow},
        {".", ErrorKind::TypeMismatch},        {"-.", ErrorKind::TypeMismatch},
        {"39.4a", ErrorKind::TypeMismatch},    {"39. 5", ErrorKind::TypeMismatch},
        {". 39", ErrorKind::TypeMismatch},     {"- 39.5", ErrorKind::TypeMismatch},
        {"39,5", ErrorKind::TypeMismatch},
    };
    for (const auto& c : bad) {
        try {
            convertCoordinate(c.text);
            ADD_FAILURE() << c.text << ": no error";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.kind(), c.kind) << c.text;
            EXPECT_EQ(e.text(), c.text);
        }
    }
}

TEST(PointLine, CuttingKeepsTheRawFields) {
    const auto f = cutPointLine(" 1.5, 2.5,skip,  853  ,39307.3,skip, 07:52:19,more");
    EXPECT_EQ(f.latitude, " 1.5");
    EXPECT_EQ(f.longitude, " 2.5");
    EXPECT_EQ(f.altitude, "853");
    EXPECT_EQ(f.dayCount, "39307.3");
    EXPECT_EQ(f.time, " 07:52:19,more");
}

// Field 5 is a date only as a number of whole days above 0; anything else is no date and no fault.
TEST(PointLine, TheDayCountOfFieldFiveIsADateWhenAboveZero) {
    const struct {
        const char* field;
        std::int32_t day;
    } cases[] = {
        {"39307.3", 39307}, {" 45000.25 ", 45000},
        {"1", 1},           {"2958465.9", 2958465},
        {"0", 0},           {"0.5", 0},
        {"-5", 0},          {"", 0},
        {"abc", 0},         {"2958466", 0},
        {"1e300", 0},       {"45000,5", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dayOfDayCount(c.field), c.day) << c.field;
}

}  // namespace
}  // namespace at
