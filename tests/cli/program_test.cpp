#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>

#include "tests/cli/cli_run.h"
#include "tests/cli/sample_track.h"
#include "tests/support/temp_dir.h"

namespace at {
namespace {

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

// The installed program as a user runs it, under the given environment settings.
ProgramRun runProgram(const test::TempDir& dir, const std::string& environment,
                      const std::string& arguments) {
    const std::string errFile = dir.file("stderr.txt");
    const std::string command =
        "env " + environment + " '" AT_CLI_PROGRAM "' " + arguments + " 2>'" + errFile + "'";
    ProgramRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.out.append(buffer, n);
    const int wait = pclose(pipe);
    run.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
    run.err = test::readBytes(errFile);
    return run;
}

TEST(Program, PrintsWhatTheInProcessRunPrintsWithTheCLocale) {
    test::TempDir dir;
    const std::string track = dir.write("muestra.plt", test::sampleTrackText());
    const std::string missing = dir.file("falta.plt");
    const auto expected = test::runCli({"resumen", track, missing});

    const auto run = runProgram(dir, "-u LC_ALL LANG=C LC_NUMERIC=C",
                                "resumen '" + track + "' '" + missing + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, expected.out);
    EXPECT_EQ(run.err, expected.err);
    EXPECT_NE(run.out.find("Distancia: "), std::string::npos);

    EXPECT_EQ(runProgram(dir, "LC_ALL=C", "resumen --desconocida").status, 2);
    EXPECT_EQ(runProgram(dir, "LC_ALL=C", "--help").status, 0);
}

// The window reads the regional settings with Qt's own locale data, so the command line must give
// the same separator whether or not the C library has the locale generated. LOCPATH points the C
// library at an empty folder, where it finds no locale at all, as on a minimal Debian.
TEST(Program, TakesTheDecimalSeparatorFromTheSettingsEvenWithoutGeneratedLocales) {
    test::TempDir dir;
    const std::string noLocales = dir.file("sin-locales");
    std::filesystem::create_directory(noLocales);
    const std::string track = dir.write("muestra.plt", test::sampleTrackText());
    const struct {
        std::string settings;
        NumberLocale expected;
    } cases[] = {
        {"-u LC_ALL -u LC_NUMERIC LANG=es_ES.UTF-8", NumberLocale::comma()},
        {"-u LC_ALL LANG=C LC_NUMERIC=es_ES.UTF-8", NumberLocale::comma()},
        {"LC_ALL=es_ES.UTF-8 LANG=C", NumberLocale::comma()},
        {"-u LC_ALL -u LC_NUMERIC LANG=de_DE.UTF-8", NumberLocale::comma()},
        {"-u LC_ALL -u LC_NUMERIC LANG=C", NumberLocale::point()},
        {"-u LC_ALL -u LC_NUMERIC LANG=en_GB.UTF-8", NumberLocale::point()},
        {"LC_ALL=C LANG=es_ES.UTF-8", NumberLocale::point()},
    };
    for (const auto& c : cases) {
        const std::string environment = c.settings + " LOCPATH='" + noLocales + "'";
        const bool comma = c.expected.decimalSeparator == ",";
        const std::string threshold = comma ? "1,5" : "1.5";
        const auto expected = test::runCli({"resumen", track, "--desnivel", threshold}, c.expected);
        ASSERT_EQ(expected.status, 0) << expected.err;

        const auto run =
            runProgram(dir, environment, "resumen '" + track + "' --desnivel " + threshold);
        EXPECT_EQ(run.status, 0) << c.settings << "\n" << run.err;
        EXPECT_EQ(run.out, expected.out) << c.settings;
        EXPECT_EQ(std::regex_search(run.out, std::regex(R"(\d,\d)")), comma) << run.out;

        // The other separator is not a number under these settings.
        const std::string other = comma ? "1.5" : "1,5";
        EXPECT_EQ(
            runProgram(dir, environment, "resumen '" + track + "' --desnivel " + other).status, 1)
            << c.settings;
    }
}

TEST(Program, ShowsItsVersion) {
    test::TempDir dir;
    for (const char* option : {"--version", "-V"}) {
        const auto run = runProgram(dir, "LC_ALL=C", option);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, "analisis-tracks-cli " AT_VERSION "\n");
    }
}

}  // namespace
}  // namespace at
