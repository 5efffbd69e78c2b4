// The whole analysis pass over arbitrary file bytes and thresholds, under both decimal
// separators. Input: the three threshold texts separated by ";" up to the first line feed, then
// the bytes of the track file.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "analysis/analysis_pass.h"
#include "formats/track_format.h"
#include "fuzz/fuzz_support.h"
#include "platform/conversions.h"
#include "platform/runtime_error.h"
#include "tests/support/memory_view.h"

namespace {

using at::fuzz::check;

constexpr int kLabels = static_cast<int>(at::SummaryLabel::MovingTime) + 1;

struct Outcome {
    std::optional<at::ErrorKind> failure;
    at::MemoryAnalysisView view;
    at::TrackSummary summary;
};

std::string withPoint(std::string text) {
    std::replace(text.begin(), text.end(), ',', '.');
    return text;
}

Outcome analyse(const std::string& path, const std::vector<std::string>& thresholds,
                const at::NumberLocale& locale, const std::string& fileBytes) {
    Outcome out;
    auto& view = out.view;
    view.path = path;
    view.altitudeJump = thresholds[0];
    view.stopMinutes = thresholds[1];
    view.stopSecondsInput = thresholds[2];
    view.stopList = {"de antes"};
    for (int l = 0; l < kLabels; ++l)
        view.labels[static_cast<at::SummaryLabel>(l)] = "previo";
    view.keepForReadout(-1, -1.0f);

    const int openBefore = at::fuzz::openFileCount();
    try {
        out.summary = at::runAnalysis(view, locale);
    } catch (const at::RuntimeError& e) {
        out.failure = e.kind();
        check(e.kind() != at::ErrorKind::FileNotFound && e.kind() != at::ErrorKind::PathFileAccess,
              "a readable track file was reported missing or inaccessible", e.what());
        check(view.lastLinesRead == -1, "a failed pass kept values for the read-out", e.what());
        for (int l = 0; l < kLabels; ++l) {
            check(view.label(static_cast<at::SummaryLabel>(l)) == "previo",
                  "a failed pass wrote the summary band", e.what());
        }
        if (e.file())
            check(*e.file() == path, "the error names another file", e.what());
        if (e.line()) {
            const auto lines = at::fuzz::splitLines(fileBytes).size();
            check(*e.line() >= 1 && static_cast<std::size_t>(*e.line()) <= lines + 1,
                  "the error names a line the file does not have", e.what());
        }
    }
    check(at::fuzz::openFileCount() == openBefore, "the pass left a file open");
    return out;
}

// What the file holds by the reading rules: the point lines read and whether a blank line ended
// them.
void checkSuccess(const Outcome& out, const std::string& fileBytes) {
    const auto& view = out.view;
    const auto lines = at::fuzz::splitLines(fileBytes);
    check(lines.size() >= 6, "a file of fewer than six lines was analysed");
    std::size_t pointsRead = 0;
    bool blankEnded = false;
    for (std::size_t i = 6; i < lines.size(); ++i) {
        if (at::isBlank(lines[i])) {
            blankEnded = true;
            break;
        }
        ++pointsRead;
    }
    const auto count = static_cast<long long>(lines.size()) - 6;
    check(view.altitude.rowCount() == count && view.speed.rowCount() == count,
          "the charts are not sized to the point count");
    check(out.summary.linesRead == static_cast<long long>(6 + pointsRead + (blankEnded ? 1 : 0)),
          "lines read differ from the lines of the file");
    check(view.lastLinesRead == out.summary.linesRead, "the read-out keeps another line count");
    for (std::size_t r = 0; r < pointsRead; ++r) {
        check(!view.altitude.rows()[r].empty() && !view.speed.rows()[r].empty(),
              "a point read has no chart row");
    }
    for (int l = 0; l < kLabels; ++l) {
        const std::string text = view.label(static_cast<at::SummaryLabel>(l));
        check(!text.empty() && text != "previo", "a summary label was not written");
    }
    check(view.label(at::SummaryLabel::StopCount) == std::to_string(view.stopList.size()),
          "the stop count differs from the stop list");
    if (pointsRead > 0)
        check(out.summary.lowestSpeed == 0.0, "a track with points has a lowest speed above 0");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> thresholds = {"20", "1", "10"};
    std::string fileBytes = input;
    const std::size_t newline = input.find('\n');
    if (newline != std::string::npos && newline <= 40) {
        std::size_t start = 0;
        for (int t = 0; t < 3; ++t) {
            const std::size_t stop = std::min(input.find(';', start), newline);
            thresholds[t] = input.substr(start, stop - start);
            if (stop == newline)
                break;
            start = stop + 1;
        }
        fileBytes = input.substr(newline + 1);
    }
    static const std::string path = at::fuzz::workFolder() + "/pista ñ.plt";
    // Bytes that read as GPX, TCX or FIT belong to the targets of those readers.
    if (at::formatOfContent(fileBytes, path) != at::TrackFormat::Plt)
        return 0;
    at::fuzz::writeFile(path, fileBytes);

    const Outcome point = analyse(path, thresholds, at::NumberLocale::point(), fileBytes);
    const Outcome comma = analyse(path, thresholds, at::NumberLocale::comma(), fileBytes);
    if (!point.failure)
        checkSuccess(point, fileBytes);
    if (!comma.failure)
        checkSuccess(comma, fileBytes);

    // Thresholds without a separator read the same under both locales, and so must everything
    // else: the texts differ only in the decimal separator.
    const bool separatorFree = std::none_of(thresholds.begin(), thresholds.end(), [](auto& t) {
        return t.find_first_of(".,") != std::string::npos;
    });
    if (!separatorFree)
        return 0;
    check(point.failure == comma.failure, "the locale changed the outcome");
    if (point.failure)
        return 0;
    for (int l = 0; l < kLabels; ++l) {
        const auto label = static_cast<at::SummaryLabel>(l);
        check(point.view.label(label) == withPoint(comma.view.label(label)),
              "a label differs beyond its decimal separator", point.view.label(label),
              comma.view.label(label));
    }
    check(point.view.stopList.size() == comma.view.stopList.size(), "the stop lists differ");
    for (std::size_t s = 0; s < point.view.stopList.size(); ++s) {
        check(point.view.stopList[s] == withPoint(comma.view.stopList[s]),
              "a stop entry differs beyond its decimal separator");
    }
    for (std::size_t r = 0; r < point.view.altitude.rows().size(); ++r) {
        check(point.view.altitude.rows()[r] == withPoint(comma.view.altitude.rows()[r]) &&
                  point.view.speed.rows()[r] == withPoint(comma.view.speed.rows()[r]),
              "a chart row differs beyond its decimal separator");
    }
    return 0;
}
