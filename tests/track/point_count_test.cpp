#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/runtime_error.h"
#include "tests/support/temp_dir.h"
#include "tests/support/track_text.h"
#include "track/track_file.h"

namespace at {
namespace {

using test::TempDir;

std::string points(int n, const std::string& eol) {
    std::string text;
    for (int i = 0; i < n; ++i)
        text += "47.0,3.0,0,800,0,x,10:00:00" + eol;
    return text;
}

TEST(PointCount, EveryLineCountsMinusTheHeader) {
    const std::string header = test::trackText({});
    struct Case {
        const char* name;
        std::string bytes;
        std::int64_t count;
    };
    const Case cases[] = {
        {"empty file", "", -6},
        {"three lines", "a\r\nb\r\nc", -3},
        {"only the header", header, 0},
        {"100 points", header + points(100, "\r\n"), 100},
        {"100 points, no final terminator",
         header + points(99, "\r\n") + "47.0,3.0,0,800,0,x,10:00:00", 100},
        {"an extra empty line at the end", header + points(100, "\r\n") + "\r\n", 101},
        {"a blank line in the middle counts",
         header + points(3, "\r\n") + "   \r\n" + points(4, "\r\n"), 8},
        {"LF-only line ends", test::trackText({"1", "2", "3"}, "\n"), 3},
        {"CR-only line ends", test::trackText({"1", "2", "3"}, "\r"), 3},
        {"40,000 points do not overflow the count", header + points(40000, "\n"), 40000},
    };
    TempDir dir;
    for (const auto& c : cases) {
        EXPECT_EQ(countPointLines(dir.write("t.plt", c.bytes)), c.count) << c.name;
    }
}

TEST(PointCount, AFileThatCannotBeOpenedIsAnError) {
    TempDir dir;
    try {
        countPointLines(dir.file("falta.plt"));
        FAIL();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.kind(), ErrorKind::FileNotFound);
    }
    EXPECT_THROW(countPointLines(dir.path().string()), RuntimeError);
}

TEST(TrackFile, BlankLinesEndThePointData) {
    EXPECT_TRUE(endsPointData(""));
    EXPECT_TRUE(endsPointData("    "));
    EXPECT_TRUE(endsPointData(" \t "));
    EXPECT_FALSE(endsPointData(" x "));
}

}  // namespace
}  // namespace at
