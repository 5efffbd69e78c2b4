#include <gtest/gtest.h>
#include <sys/wait.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
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

// A Spanish locale gives a decimal comma. Where es_ES.UTF-8 is not installed it is built into the
// test's own folder and found through LOCPATH, so the system is left as it is.
TEST(Program, FollowsASpanishLocale) {
    test::TempDir dir;
    std::string environment = "LC_ALL=es_ES.UTF-8";
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    const bool installed = std::setlocale(LC_NUMERIC, "es_ES.UTF-8") != nullptr;
    std::setlocale(LC_NUMERIC, previous.c_str());
    if (!installed) {
        const std::string build =
            "localedef -i es_ES -f UTF-8 '" + dir.file("es_ES.UTF-8") + "' >/dev/null 2>&1";
        if (std::system(build.c_str()) != 0)
            GTEST_SKIP() << "no se puede crear es_ES.UTF-8";
        environment = "LOCPATH='" + dir.path().string() + "' " + environment;
    }

    const std::string track = dir.write("muestra.plt", test::sampleTrackText());
    const auto expected = test::runCli({"resumen", track}, NumberLocale::comma());
    const auto run = runProgram(dir, environment, "resumen '" + track + "'");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, expected.out);
    EXPECT_NE(run.out.find(","), std::string::npos);
}

}  // namespace
}  // namespace at
