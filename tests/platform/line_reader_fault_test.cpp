// A read that fails in the middle of a line names that line, not the next one.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "platform/file_calls.h"
#include "platform/runtime_error.h"
#include "platform/text_file.h"
#include "tests/support/hostile_files.h"
#include "tests/support/temp_dir.h"

namespace at {
namespace {

TEST(LineReaderFault, FailureInsideALineNamesThatLine) {
    const std::size_t buffer = std::size_t{1} << 20;
    struct Case {
        const char* name;
        std::string bytes;
        std::int64_t line;
    };
    const Case cases[] = {
        {"second line spans the buffer", "a\r\n" + std::string(buffer, 'x') + "\r\nb\r\n", 2},
        {"CR at the end of the buffer", std::string(buffer - 1, 'x') + "\r\nb\r\n", 1},
        {"buffer ends with a line", std::string(buffer - 2, 'x') + "\r\nb\r\n", 2},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.write("t.plt", c.bytes);
        test::PathFaults faults(path);
        faults.failReadsOfOpen = 1;
        faults.failReadNumber = 2;
        ScopedFileCalls scoped(faults);
        LineReader reader(path);
        std::string line;
        try {
            while (!reader.atEnd())
                reader.readLine(line);
            ADD_FAILURE() << "no error";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.kind(), ErrorKind::DeviceIo);
            EXPECT_EQ(e.line(), c.line);
            EXPECT_EQ(e.file(), path);
        }
    }
}

}  // namespace
}  // namespace at
