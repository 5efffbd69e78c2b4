#include "cli/command_line.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "cli/cut_command.h"
#include "cli/summary_command.h"
#include "formats/track_list.h"
#include "platform/output_file.h"
#ifdef AT_HAVE_REPORT
#include "cli/report_command.h"
#endif

namespace at {
namespace {

constexpr const char* kProgram = "analisis-tracks-cli";

constexpr const char* kUsage =
    "Uso:\n"
    "  analisis-tracks-cli resumen ARCHIVO... [--desnivel N] [--parada-min M] [--parada-seg S]"
    " [--track N] [--json | --csv]\n"
    "  analisis-tracks-cli cortar ARCHIVO PUNTOS [--track N]\n"
    "  analisis-tracks-cli informe ARCHIVO --pdf SALIDA [--desnivel N] [--parada-min M]"
    " [--parada-seg S] [--track N]\n"
    "  analisis-tracks-cli --help | --version\n";

constexpr const char* kHelp =
    "analisis-tracks-cli: analiza y corta tracks GPS (.plt, .gpx, .tcx, .fit) con las mismas\n"
    "reglas que la ventana de Análisis Tracks.\n"
    "\n"
    "Uso:\n"
    "  analisis-tracks-cli resumen ARCHIVO... [opciones]\n"
    "      Analiza cada archivo y muestra su resumen y su lista de paradas, como la ventana;\n"
    "      de un archivo con varios tracks, uno tras otro.\n"
    "  analisis-tracks-cli cortar ARCHIVO PUNTOS\n"
    "      Corta el archivo en varios de PUNTOS puntos, junto al original, como \"Cortar\".\n"
    "      PUNTOS es un número entero de 3 a 32767.\n"
    "  analisis-tracks-cli informe ARCHIVO --pdf SALIDA [opciones]\n"
    "      Escribe en SALIDA el informe PDF que exporta la ventana: la fecha de la actividad,\n"
    "      las cifras, los dos perfiles, los de los sensores que tenga y todas las paradas.\n"
    "\n"
    "Opciones de resumen:\n"
    "  --desnivel N     Diferencia entre alturas despreciables, en metros (por omisión 20).\n"
    "  --parada-min M   Saltos de más de M minutos...          (por omisión 1)\n"
    "  --parada-seg S   ...y S segundos son tomados como descansos (por omisión 10).\n"
    "  --json           Un objeto JSON por archivo, con los textos y los valores sin redondear\n"
    "                   y el mínimo, la media y el máximo de pulso, cadencia, potencia y\n"
    "                   temperatura; el de un archivo que falla lleva un objeto \"error\".\n"
    "  --csv            Los puntos de todos los archivos en una tabla CSV: archivo, punto,\n"
    "                   fecha (si los archivos la dan), hora, latitud, longitud, altitud (m),\n"
    "                   distancia (km), velocidad (km/h), pulso (ppm), cadencia (rpm),\n"
    "                   potencia (W) y temperatura (°C).\n"
    "  --track N        Solo el track N (desde 1) de un archivo con varios. Sin ella, cortar\n"
    "                   e informe no aceptan un archivo de varios tracks.\n"
    "  --               Lo que sigue son archivos, aunque empiecen por \"-\".\n"
    "\n"
    "Otras opciones:\n"
    "  -h, --help       Muestra esta ayuda.\n"
    "  -V, --version    Muestra la versión.\n"
    "\n"
    "Los números se escriben con el separador decimal de la configuración regional (LC_ALL,\n"
    "LC_NUMERIC o LANG), el mismo que usa la ventana.\n"
    "\n"
    "Estado de salida: 0 si todo ha ido bien, 1 si algún archivo ha fallado,\n"
    "2 si la orden está mal escrita.\n";

int badUsage(std::ostream& err, const std::string& problem) {
    err << kProgram << ": " << problem << "\n"
        << kUsage << "Pruebe «" << kProgram << " --help» para más información.\n";
    return kExitUsage;
}

bool isHelp(std::string_view arg) {
    return arg == "-h" || arg == "--help";
}

bool isVersion(std::string_view arg) {
    return arg == "-V" || arg == "--version";
}

// An argument that looks like an option: "-x" or "--x", but neither "-" alone nor "--".
bool isOption(std::string_view arg) {
    return arg.size() > 1 && arg[0] == '-' && arg != "--";
}

struct ParsedArguments {
    std::vector<std::string> positional;
    SummaryOptions summary;
    std::optional<std::string> pdf;
    std::optional<std::string> trackText;
};

// The number of a --track: a whole number from 1 on, in decimal digits.
std::optional<int> trackNumber(const std::string& text) {
    if (text.empty() || text.size() > 5 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int number = std::stoi(text);
    if (number < 1)
        return std::nullopt;
    return number;
}

// A file of several tracks is cut or reported only once told which: the refusal, or nothing. A
// file that does not read is left to the command, which says why.
std::optional<std::string> trackChoiceProblem(const std::string& path, std::optional<int> track) {
    std::size_t tracks = 1;
    try {
        tracks = std::max<std::size_t>(1, listTracks(path).size());
    } catch (const std::exception&) {
        return std::nullopt;
    }
    const std::string count = std::to_string(tracks);
    if (!track && tracks > 1) {
        return "«" + path + "» tiene " + count + " tracks: indique cuál con --track N (de 1 a " +
               count + ")";
    }
    if (track && static_cast<std::size_t>(*track) > tracks) {
        return "«" + path + "» tiene " + count + (tracks == 1 ? " track" : " tracks") +
               ": no hay track " + std::to_string(*track);
    }
    return std::nullopt;
}

// Options may stand anywhere after the command; "--name=value" and "--name value" both work.
// Returns the problem, or nothing when the arguments are well formed.
std::optional<std::string> parseArguments(const std::vector<std::string>& args, bool summaryOptions,
                                          ParsedArguments& parsed) {
    bool optionsEnded = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !isOption(arg)) {
            if (!optionsEnded && arg == "--") {
                optionsEnded = true;
            } else {
                parsed.positional.push_back(arg);
            }
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        std::string* target = nullptr;
        if (name == "--track")
            target = &parsed.trackText.emplace();
        if (summaryOptions) {
            if (name == "--desnivel")
                target = &parsed.summary.thresholds.altitudeJump;
            if (name == "--parada-min")
                target = &parsed.summary.thresholds.stopMinutes;
            if (name == "--parada-seg")
                target = &parsed.summary.thresholds.stopSeconds;
            if (name == "--json" && equals == std::string::npos) {
                parsed.summary.json = true;
                continue;
            }
            if (name == "--csv" && equals == std::string::npos) {
                parsed.summary.csv = true;
                continue;
            }
            if (name == "--pdf")
                target = &parsed.pdf.emplace();
        }
        if (target == nullptr)
            return "opción desconocida: «" + arg + "»";
        if (equals != std::string::npos) {
            *target = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            *target = args[++i];
        } else {
            return "falta el valor de «" + name + "»";
        }
    }
    return std::nullopt;
}

}  // namespace

int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   const NumberLocale& locale) {
    for (const auto& arg : args) {
        if (arg == "--")
            break;
        if (isHelp(arg)) {
            out << kHelp;
            return kExitOk;
        }
        if (isVersion(arg)) {
            out << kProgram << " " << AT_VERSION << "\n";
            return kExitOk;
        }
    }
    if (args.empty())
        return badUsage(err, "falta la orden (resumen, cortar o informe)");

    const std::string& command = args[0];
    ParsedArguments parsed;
    const auto chosenTrack = [&]() -> std::optional<std::optional<int>> {
        if (!parsed.trackText)
            return std::optional<int>();
        if (const auto number = trackNumber(*parsed.trackText))
            return number;
        return std::nullopt;
    };
    const auto badTrack = [&] {
        return badUsage(err,
                        "--track necesita un número de track desde 1: «" + *parsed.trackText + "»");
    };
    const auto refuse = [&](const std::string& problem) {
        err << kProgram << ": " << problem << "\n";
        return kExitUsage;
    };
    if (command == "resumen") {
        if (const auto problem = parseArguments(args, true, parsed))
            return badUsage(err, *problem);
        const auto track = chosenTrack();
        if (!track)
            return badTrack();
        parsed.summary.track = *track;
        if (parsed.positional.empty())
            return badUsage(err, "no se ha indicado ningún archivo");
        if (parsed.summary.json && parsed.summary.csv)
            return badUsage(err, "--json y --csv no pueden ir juntas");
        if (parsed.pdf)
            return badUsage(err, "opción desconocida: «--pdf»");
        return runSummary(parsed.positional, parsed.summary, out, err, locale);
    }
    if (command == "cortar") {
        if (const auto problem = parseArguments(args, false, parsed))
            return badUsage(err, *problem);
        if (parsed.positional.size() != 2) {
            return badUsage(err, "cortar necesita un ARCHIVO y la cantidad de PUNTOS");
        }
        if (const auto problem = splitPointsProblem(parsed.positional[1]))
            return badUsage(err, *problem);
        const auto track = chosenTrack();
        if (!track)
            return badTrack();
        if (const auto problem = trackChoiceProblem(parsed.positional[0], *track))
            return refuse(*problem);
        return runCut(parsed.positional[0], parsed.positional[1], track->value_or(1), out, err);
    }
    if (command == "informe") {
        if (const auto problem = parseArguments(args, true, parsed))
            return badUsage(err, *problem);
        if (parsed.positional.size() != 1 || !parsed.pdf || parsed.summary.json ||
            parsed.summary.csv) {
            return badUsage(err, "informe necesita un ARCHIVO y --pdf SALIDA");
        }
        if (sameFile(parsed.positional[0], *parsed.pdf)) {
            return badUsage(err, "SALIDA es el mismo archivo que ARCHIVO («" + *parsed.pdf +
                                     "»): el track no se sobrescribe");
        }
        const auto track = chosenTrack();
        if (!track)
            return badTrack();
        if (const auto problem = trackChoiceProblem(parsed.positional[0], *track))
            return refuse(*problem);
#ifdef AT_HAVE_REPORT
        return runReport(parsed.positional[0], track->value_or(1), *parsed.pdf,
                         parsed.summary.thresholds, err, locale);
#else
        err << kProgram << ": esta versión se ha compilado sin Qt y no escribe informes PDF\n";
        return kExitFailed;
#endif
    }
    return badUsage(err, "orden desconocida: «" + command + "»");
}

}  // namespace at
