#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "charts/system_locale.h"
#include "tests/cli/cli_run.h"
#include "tests/cli/sample_track.h"
#include "tests/support/temp_dir.h"
#include "tests/support/track_text.h"

namespace at {
namespace {

using test::runCli;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

struct UsageCase {
    std::vector<std::string> args;
    const char* problem;
};

TEST(CommandLine, BadUsageExitsWithTwoAndTheUsage) {
    const UsageCase cases[] = {
        {{}, "falta la orden (resumen, cortar o informe)"},
        {{"analizar", "x.plt"}, "orden desconocida: «analizar»"},
        {{"resumen"}, "no se ha indicado ningún archivo"},
        {{"resumen", "--json"}, "no se ha indicado ningún archivo"},
        {{"resumen", "--"}, "no se ha indicado ningún archivo"},
        {{"resumen", "x.plt", "--velocidad", "3"}, "opción desconocida: «--velocidad»"},
        {{"resumen", "-j", "x.plt"}, "opción desconocida: «-j»"},
        {{"resumen", "--json=si", "x.plt"}, "opción desconocida: «--json=si»"},
        {{"resumen", "x.plt", "--desnivel"}, "falta el valor de «--desnivel»"},
        {{"resumen", "x.plt", "--parada-seg"}, "falta el valor de «--parada-seg»"},
        {{"cortar", "x.plt"}, "cortar necesita un ARCHIVO y la cantidad de PUNTOS"},
        {{"cortar", "x.plt", "250", "500"}, "cortar necesita un ARCHIVO y la cantidad de PUNTOS"},
        {{"cortar", "x.plt", "250", "--json"}, "opción desconocida: «--json»"},
        {{"cortar", "x.plt", "abc"}, "PUNTOS debe ser un número entero de 3 a 32767: «abc»"},
        {{"cortar", "x.plt", "0"}, "PUNTOS debe ser un número entero de 3 a 32767: «0»"},
        {{"cortar", "x.plt", "2"}, "PUNTOS debe ser un número entero de 3 a 32767: «2»"},
        {{"cortar", "x.plt", "250abc"}, "PUNTOS debe ser un número entero de 3 a 32767: «250abc»"},
        {{"cortar", "x.plt", "0x10"}, "PUNTOS debe ser un número entero de 3 a 32767: «0x10»"},
        {{"cortar", "x.plt", "32768"}, "PUNTOS debe ser un número entero de 3 a 32767: «32768»"},
        {{"cortar", "x.plt", "99999999999"},
         "PUNTOS debe ser un número entero de 3 a 32767: «99999999999»"},
        {{"cortar", "x.plt", "+250"}, "PUNTOS debe ser un número entero de 3 a 32767: «+250»"},
        {{"cortar", "x.plt", "2.5e2"}, "PUNTOS debe ser un número entero de 3 a 32767: «2.5e2»"},
        {{"cortar", "x.plt", " 250"}, "PUNTOS debe ser un número entero de 3 a 32767: « 250»"},
        {{"cortar", "x.plt", "500 puntos"},
         "PUNTOS debe ser un número entero de 3 a 32767: «500 puntos»"},
        {{"cortar", "x.plt", "--", "-3"}, "PUNTOS debe ser un número entero de 3 a 32767: «-3»"},
    };
    for (const auto& c : cases) {
        const auto run = runCli(c.args);
        const std::string shown = c.args.empty() ? "" : c.args[0];
        EXPECT_EQ(run.status, kExitUsage) << c.problem;
        EXPECT_EQ(run.out, "") << c.problem;
        EXPECT_TRUE(run.err.starts_with(std::string("analisis-tracks-cli: ") + c.problem + "\n"))
            << run.err;
        EXPECT_TRUE(contains(run.err, "Uso:\n  analisis-tracks-cli resumen ARCHIVO...")) << run.err;
    }
}

TEST(CommandLine, HelpWinsWhereverItStands) {
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"--help"},
                                               {"-h"},
                                               {"resumen", "--help"},
                                               {"cortar", "x.plt", "-h"},
                                               {"resumen", "--desnivel=3", "x.plt", "--help"}}) {
        const auto run = runCli(args);
        EXPECT_EQ(run.status, kExitOk);
        EXPECT_EQ(run.err, "");
        EXPECT_TRUE(contains(run.out, "Uso:")) << run.out;
        EXPECT_TRUE(contains(run.out, "--parada-min M")) << run.out;
    }
}

TEST(CommandLine, VersionWinsWhereverItStandsAndHelpMentionsIt) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--version"}, {"-V"}, {"resumen", "x.plt", "-V"}, {"cortar", "--version"}}) {
        const auto run = runCli(args);
        EXPECT_EQ(run.status, kExitOk);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.out, "analisis-tracks-cli " AT_VERSION "\n");
    }
    const std::string help = runCli({"--help"}).out;
    EXPECT_TRUE(contains(help, "-V, --version")) << help;
    EXPECT_TRUE(contains(runCli({}).err, "--version")) << "usage";
    // After "--" it is a file name like any other.
    EXPECT_EQ(runCli({"resumen", "--", "-V"}).status, kExitFailed);
}

TEST(CommandLine, AfterTwoDashesEverythingIsAFile) {
    const auto run = runCli({"resumen", "--", "--help"});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_TRUE(run.err.starts_with("--help: No se ha encontrado el archivo")) << run.err;
}

TEST(CommandLine, ABrokenFileFailsAloneAndTheBatchGoesOn) {
    test::TempDir dir;
    const std::string good1 = dir.write("uno.plt", test::sampleTrackText(300, 1));
    // Line 9 of the file: point 3, whose altitude field is not a number.
    const std::string broken = dir.write(
        "roto.plt", test::trackText({test::pointLine(42.0, -1.5, 500, "10:00:00"),
                                     test::pointLine(42.0001, -1.5, 510, "10:00:05"),
                                     "42.000200,-1.500000,0,mil,39307.3,13-08-07,10:00:10"}));
    const std::string good2 = dir.write("dos.plt", test::sampleTrackText(300, 2));
    const std::string missing = dir.file("no-existe.plt");

    const auto run = runCli({"resumen", good1, broken, good2, missing});
    EXPECT_EQ(run.status, kExitFailed);

    const auto single = [](const std::string& path) { return runCli({"resumen", path}).out; };
    EXPECT_EQ(run.out, single(good1) + "\n" + single(good2));

    EXPECT_TRUE(contains(run.err, broken + ": No coinciden los tipos\n")) << run.err;
    EXPECT_TRUE(contains(run.err, "\n  Línea: 9\n")) << run.err;
    EXPECT_TRUE(contains(run.err, "\n  Texto: «mil»\n")) << run.err;
    EXPECT_TRUE(contains(run.err, missing + ": No se ha encontrado el archivo\n")) << run.err;
    EXPECT_TRUE(run.err.ends_with("Archivos con errores: 2 de 4.\n")) << run.err;
    EXPECT_FALSE(contains(run.err, good1 + ":"));
}

TEST(CommandLine, ThresholdsThatDoNotReadAreReportedOnce) {
    test::TempDir dir;
    const std::string a = dir.write("a.plt", test::sampleTrackText(50, 1));
    const std::string b = dir.write("b.plt", test::sampleTrackText(50, 2));
    struct Case {
        std::vector<std::string> options;
        const char* kind;
        const char* field;
    } cases[] = {
        {{"--desnivel", "veinte"},
         "No coinciden los tipos",
         "Diferencia entre alturas despreciables"},
        {{"--desnivel", ""}, "No coinciden los tipos", "Diferencia entre alturas despreciables"},
        {{"--parada-min", "547"}, "Desbordamiento", nullptr},
        {{"--parada-seg", "2.5"}, "No coinciden los tipos", "segundos de parada"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"resumen", a, b};
        args.insert(args.end(), c.options.begin(), c.options.end());
        // Under a decimal comma "2.5" is not a number.
        const auto run = runCli(args, NumberLocale::comma());
        EXPECT_EQ(run.status, kExitFailed) << c.kind;
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(run.err.starts_with(std::string("analisis-tracks-cli: ") + c.kind)) << run.err;
        if (c.field) {
            EXPECT_TRUE(contains(run.err, c.field)) << run.err;
        }
        EXPECT_EQ(run.err.find(c.kind), run.err.rfind(c.kind)) << run.err;
    }
}

TEST(CommandLine, DecimalSeparatorComesFromTheCLibrary) {
    EXPECT_EQ(numberLocaleFromDecimalPoint(",").decimalSeparator, ",");
    EXPECT_EQ(numberLocaleFromDecimalPoint(".").decimalSeparator, ".");
    EXPECT_EQ(numberLocaleFromDecimalPoint("").decimalSeparator, ".");
    EXPECT_EQ(numberLocaleFromDecimalPoint(nullptr).decimalSeparator, ".");
}

}  // namespace
}  // namespace at
