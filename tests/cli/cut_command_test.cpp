#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/cut_command.h"
#include "formats/splitter.h"
#include "tests/cli/cli_run.h"
#include "tests/support/temp_dir.h"
#include "tests/support/track_text.h"

namespace at {
namespace {

using test::runCli;

std::vector<std::string> tenPoints() {
    std::vector<std::string> points;
    for (int i = 0; i < 10; ++i) {
        points.push_back(test::pointLine(42.0 + i / 1000.0, -1.5, 500 + i, test::clock(36000 + i)));
    }
    return points;
}

// The numbered output files beside the source; nothing else may have been written.
int outputFiles(const test::TempDir& dir, const std::string& source) {
    int count = 0;
    while (std::filesystem::exists(splitFileName(source, count + 1)))
        ++count;
    const auto entries = std::distance(std::filesystem::directory_iterator(dir.path()),
                                       std::filesystem::directory_iterator());
    EXPECT_EQ(entries, count + 1) << "a file other than the numbered outputs";
    return count;
}

TEST(Cortar, SplitsAsTheWindowDoesAndSaysSo) {
    const struct {
        const char* points;
        int files;
    } cases[] = {
        {"5", 4},  // 3 points a file: 1-3, 3-6, 6-9, 9-10
        // One point a file, each file after the first opening with the line before: 11 files.
        {"3", 11},
        {"0250", 1},
        {"32767", 1},
    };
    const std::string done = std::string(kSplitDoneTitle) + "\n" + kSplitDoneText + "\n";
    for (const auto& c : cases) {
        test::TempDir dir;
        const std::vector<std::string> points = tenPoints();
        const std::string source = dir.write("ruta.plt", test::trackText(points));
        const auto run = runCli({"cortar", source, c.points});
        EXPECT_EQ(run.status, kExitOk) << c.points;
        EXPECT_EQ(run.err, "") << c.points;
        EXPECT_EQ(run.out, done);
        EXPECT_EQ(outputFiles(dir, source), c.files) << c.points;
        if (c.files == 4) {
            EXPECT_EQ(test::readBytes(source + ".1.plt"),
                      test::trackText({points[0], points[1], points[2]}));
            EXPECT_EQ(test::readBytes(source + ".4.plt"), test::trackText({points[8], points[9]}));
        }
    }
}

TEST(Cortar, WithoutPointsShowsTheWindowsRefusalAndWritesNothing) {
    test::TempDir dir;
    const std::string source = dir.write("ruta.plt", test::trackText(tenPoints()));
    const auto run = runCli({"cortar", source, ""});
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              "Seccionar un track\nPor favor, seleccione la cantidad de puntos por fichero.\n");
    EXPECT_EQ(outputFiles(dir, source), 0);
}

TEST(Cortar, AFailedSplitNamesTheFileAndNoSuccessIsShown) {
    const struct {
        const char* name;
        const char* bytes;  // nullptr: the file does not exist
        const char* kind;
    } cases[] = {
        {"falta.plt", nullptr, "No se ha encontrado el archivo"},
        {"corto.plt", "una\r\ndos\r\n", "Se ha leído más allá del final del archivo"},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        const std::string source = c.bytes ? dir.write(c.name, c.bytes) : dir.file(c.name);
        const auto run = runCli({"cortar", source, "250"});
        EXPECT_EQ(run.status, kExitFailed) << c.name;
        EXPECT_EQ(run.out, "") << c.name;
        EXPECT_TRUE(run.err.starts_with(source + ": " + c.kind + "\n")) << run.err;
        EXPECT_NE(run.err.find("\n  Archivo: " + source), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(splitFileName(source, 1))) << c.name;
    }
}

}  // namespace
}  // namespace at
