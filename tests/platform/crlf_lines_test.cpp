// Runs of CR LF lines, against the same rule applied one byte at a time.
#include "platform/crlf_lines.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/text_file.h"
#include "tests/support/temp_dir.h"
#include "tests/support/xorshift.h"

namespace at {
namespace {

// The lines at the start of `data` that end in CR LF, up to `most`, none longer than `longest`.
CrLfLines expectedLines(std::string_view data, std::int64_t most, std::size_t longest) {
    std::int64_t count = 0;
    std::size_t end = 0;
    for (; count < most; ++count) {
        const std::size_t stop = data.find_first_of("\r\n", end);
        if (stop == std::string_view::npos || data.substr(stop, 2) != "\r\n" ||
            stop - end > longest)
            break;
        end = stop + 2;
    }
    return {data.substr(0, end), count};
}

void expectLines(std::string_view data, std::int64_t most, std::size_t longest) {
    const CrLfLines expected = expectedLines(data, most, longest);
    const CrLfLines found = leadingCrLfLines(data.data(), data.size(), most, longest);
    ASSERT_EQ(found.count, expected.count);
    ASSERT_EQ(found.bytes.data(), data.data());
    ASSERT_EQ(found.bytes.size(), expected.bytes.size());
    if (found.count > 0) {
        const std::string_view withoutEnd = data.substr(0, found.bytes.size() - 2);
        EXPECT_EQ(found.lastLine(), withoutEnd.substr(withoutEnd.find_last_of('\n') + 1));
    }
}

// A terminator on every side of a 64-byte block: a CR LF split between two, a lone CR or LF at
// either edge, a line ending on the last byte of the data.
TEST(CrLfLines, TerminatorsAtEveryOffset) {
    for (std::size_t offset = 0; offset < 200; ++offset) {
        SCOPED_TRACE(offset);
        const std::string before(offset, 'x');
        for (const char* end : {"\r\n", "\r", "\n", "\r\r\n", "\n\r\n"}) {
            const std::string data = "a\r\n" + before + end + "y\r\nz";
            expectLines(data, 1000, 1000);
            expectLines(data, 1, 1000);
            expectLines(data, 1000, 64 + offset % 70);
            expectLines(data.substr(0, 3 + offset + 1), 1000, 1000);
        }
    }
}

// Ragged lines and every terminator, cut off at any length, with any limits.
TEST(CrLfLines, AgreeWithTheRuleOnRandomText) {
    test::Xorshift random(17);
    const char* ends[] = {"\r\n", "\r\n", "\r\n", "\r\n", "\r\n", "\r\n", "\n", "\r", "\r\r\n"};
    for (int round = 0; round < 400; ++round) {
        std::string data;
        const std::uint64_t plain = random() % 40;  // a lone terminator about every `plain` lines
        while (data.size() < 3000) {
            data.append(random() % 150, static_cast<char>('0' + random() % 10));
            data.append(plain == 0 || random() % plain != 0 ? "\r\n" : ends[random() % 9]);
        }
        data.resize(random() % data.size());
        expectLines(data, 1 + static_cast<std::int64_t>(random() % 60), 64 + random() % 100);
        expectLines(data, std::int64_t{1} << 62, std::size_t{1} << 20);
    }
}

// Runs written after a line, each crossing the writer's buffer somewhere else, arrive whole.
TEST(CrLfLines, WrittenAsTheyLie) {
    std::string run;
    for (int i = 0; run.size() < (std::size_t{5} << 18); ++i)
        run.append(std::to_string(i * 7919)).append("\r\n");
    test::TempDir dir;
    const std::string path = dir.file("runs.plt");
    LineWriter writer(path);
    writer.writeLine("a");
    for (int i = 0; i < 3; ++i)
        writer.writeLines(leadingCrLfLines(run.data(), run.size(), 1 << 30, 100));
    writer.close();
    EXPECT_EQ(test::readBytes(path), "a\r\n" + run + run + run);
}

}  // namespace
}  // namespace at
