#include "formats/splitter.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <utility>

#include "formats/track_format.h"
#include "formats/track_list.h"
#include "platform/checked.h"
#include "platform/output_file.h"
#include "platform/runtime_error.h"
#include "platform/text_file.h"
#include "track/track_file.h"
#include "track/written_point_line.h"

// The rules of the division. With K = N - 2 (the close mark, a double), the line counter counts
// the point lines written to the current output file, the carried-over line not included. When
// the whole-number counter equals K exactly, the file is full: the next file opens with the
// header and the line that closed the file before. So file 1 holds lines 1..K and file j holds
// lines (j-1)K..jK. When K is not a whole number of at least 1 the counter never meets it and
// every point goes to file 1. Users rely on this: N = "500" gives 498 points in the first file.
// The file number is 16-bit: a split that would need more files than that writes none.
namespace at {
namespace {

constexpr std::int64_t kMostSplitFiles = std::numeric_limits<std::int16_t>::max();
// What the split reads is copied straight out again: reads this small stay in the processor's
// cache from the read through the search for line ends to the copy.
constexpr std::size_t kSplitReadBytes = std::size_t{128} << 10;

bool isSkippedBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// An output file of the split. A failure of its own leaves nothing to save; a failure elsewhere
// (the source, the file number) should still leave what was written on disk.
class OutputFile {
  public:
    explicit OutputFile(const std::string& sourcePath) : sourcePath_(sourcePath) {}

    void create(const std::string& path, const std::array<std::string, kHeaderLines>& header) {
        writer_.reset();
        faulted_ = true;
        // Most pieces are new files, made without a look first. Where the name is taken or the
        // file cannot be made, the piece is made the long way: a hard link to the source in its
        // place would be emptied before it is read, and any other failure is told as such.
        writer_.emplace(path, LineWriter::Existing::Untouched);
        if (!writer_->isOpen()) {
            writer_.reset();
            if (sameFile(path, sourcePath_)) {
                throw RuntimeError(ErrorKind::PathFileAccess,
                                   "Con ese nombre está el propio track que se corta: no se "
                                   "sobrescribe.")
                    .withFile(path);
            }
            writer_.emplace(path);
        }
        for (const std::string& line : header)
            writer_->writeLine(line);
        faulted_ = false;
    }

    void write(std::string_view line) {
        faulted_ = true;
        writer_->writeLine(line);
        faulted_ = false;
    }

    void write(const CrLfLines& lines) {
        faulted_ = true;
        writer_->writeLines(lines);
        faulted_ = false;
    }

    void close() {
        if (!writer_)
            return;
        faulted_ = true;
        writer_->close();
        writer_.reset();
        faulted_ = false;
    }

    // Called while another failure is on its way up, which is the one the user must see.
    void closeKeepingWhatWasWritten() noexcept {
        if (writer_ && !faulted_) {
            try {
                writer_->close();
            } catch (...) {
            }
        }
        writer_.reset();
    }

  private:
    std::string sourcePath_;
    std::optional<LineWriter> writer_;
    bool faulted_ = false;
};

// The lines of a track file, copied as they are.
class SourceLines {
  public:
    explicit SourceLines(LineReader& reader) : reader_(reader) {}
    bool atEnd() { return reader_.atEnd(); }
    // Valid until the next line is read.
    std::string_view readLine() { return reader_.readLine(); }
    // Most lines of a track file end in CR LF, as the pieces' lines do, and go out as they lie.
    CrLfLines readCrLfLines(std::int64_t most) { return reader_.readCrLfLines(most); }
    void locate(RuntimeError& error) const { error.withLine(reader_.linesRead()); }

  private:
    LineReader& reader_;
};

// The points of a track of another format, as point lines of our own.
class WrittenLines {
  public:
    explicit WrittenLines(PointReader& reader) : reader_(reader) {}
    bool atEnd() {
        if (!pending_)
            pending_ = reader_.next(point_);
        return !pending_;
    }
    std::string_view readLine() {
        atEnd();
        pending_ = false;
        line_ = writePointLine(point_, reader_.localDay());
        return line_;
    }
    CrLfLines readCrLfLines(std::int64_t) { return {}; }
    void locate(RuntimeError& error) const { reader_.place().addTo(error); }

  private:
    PointReader& reader_;
    TrackPoint point_;
    bool pending_ = false;
    std::string line_;
};

template <typename Lines>
std::int16_t nextFileNumber(std::int16_t fileNumber, const std::string& sourcePath,
                            const Lines& source) {
    try {
        return add16(fileNumber, 1);
    } catch (RuntimeError& error) {
        error.withFile(sourcePath);
        source.locate(error);
        throw;
    }
}

// Whether the whole-number counter ever meets the close mark.
bool cuts(double closeMark) {
    return closeMark >= 1.0 && closeMark == std::floor(closeMark);
}

// How many lines the counter may still count without passing the close mark: all of them when
// it never meets the mark.
std::int64_t linesBeforeMark(std::int64_t lineCounter, double closeMark) {
    if (!cuts(closeMark) || closeMark > 0x1p62)
        return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(closeMark) - lineCounter;
}

template <typename Lines>
void copyPoints(Lines& source, OutputFile& output,
                const std::array<std::string, kHeaderLines>& header, double closeMark,
                const std::string& sourcePath) {
    std::int16_t fileNumber = 1;
    std::int64_t lineCounter = 0;
    while (!source.atEnd()) {
        std::string_view line;
        const CrLfLines lines = source.readCrLfLines(linesBeforeMark(lineCounter, closeMark));
        if (lines.count > 0) {
            output.write(lines);
            lineCounter += lines.count;
            line = lines.lastLine();
        } else {
            line = source.readLine();
            output.write(line);
            ++lineCounter;
        }
        if (static_cast<double>(lineCounter) == closeMark) {
            lineCounter = 0;
            // Closed before the file number can overflow, so that file 32767 reaches the disk
            // whole.
            output.close();
            fileNumber = nextFileNumber(fileNumber, sourcePath, source);
            output.create(splitFileName(sourcePath, fileNumber), header);
            output.write(line);
        }
    }
}

template <typename Lines>
void copyAll(Lines& source, const std::array<std::string, kHeaderLines>& header, double closeMark,
             const std::string& sourcePath) {
    OutputFile output(sourcePath);
    try {
        output.create(splitFileName(sourcePath, 1), header);
        copyPoints(source, output, header, closeMark, sourcePath);
        output.close();
    } catch (...) {
        output.closeKeepingWhatWasWritten();
        throw;
    }
}

// How many files the division makes of `points` point lines.
std::int64_t filesFor(std::int64_t points, double closeMark) {
    if (!cuts(closeMark) || closeMark > static_cast<double>(points))
        return 1;
    return points / static_cast<std::int64_t>(closeMark) + 1;
}

// Before anything is written: a split that needs more files than can be numbered writes none,
// and says how many points per file are enough.
void refuseTooManyFiles(std::int64_t points, double closeMark, const std::string& sourcePath) {
    const std::int64_t files = filesFor(points, closeMark);
    if (files <= kMostSplitFiles)
        return;
    // K points per file give at most 32767 files from K = P / 32767 + 1 on, and N = K + 2.
    const std::int64_t fewestPoints = points / kMostSplitFiles + 3;
    throw RuntimeError(ErrorKind::Overflow, "Harían falta " + std::to_string(files) +
                                                " archivos y no pueden ser más de " +
                                                std::to_string(kMostSplitFiles) + ".")
        .withFile(sourcePath)
        .withAdvice("Elija al menos " + std::to_string(fewestPoints) + " puntos por archivo.");
}

// A point line needs a time: a track with points without one (a route planned in an app) is not
// cut at all, rather than into pieces that would not read back.
void refusePointsWithoutTime(std::int64_t withoutTime, const std::string& sourcePath) {
    if (withoutTime == 0)
        return;
    throw RuntimeError(ErrorKind::TypeMismatch,
                       "El track no tiene horas (" + std::to_string(withoutTime) +
                           " puntos sin hora): no se puede cortar, porque un track .plt necesita "
                           "la hora de cada punto.")
        .withFile(sourcePath);
}

// The points of a GPX, TCX or FIT track are counted before anything is written. A FIT file's
// bytes are vouched for by its CRC at the end, so any fault of one ends the split here, before a
// piece of a damaged file is written; the fault of a text format is met again by the copy where
// it lies, after the pieces before it.
void countReadPoints(const std::string& sourcePath, TrackFormat format, int track,
                     double closeMark) {
    std::int64_t points = 0;
    std::int64_t withoutTime = 0;
    try {
        const std::unique_ptr<PointReader> reader = openTrackReader(sourcePath, format, track);
        TrackPoint point;
        while (reader->next(point)) {
            ++points;
            if (!point.hasTime)
                ++withoutTime;
        }
        reader->close();
    } catch (const RuntimeError&) {
        if (format == TrackFormat::Fit)
            throw;
    }
    refusePointsWithoutTime(withoutTime, sourcePath);
    refuseTooManyFiles(points, closeMark, sourcePath);
}

// A GPX, TCX or FIT track becomes track files of point lines by the same rule. Its first point is
// read before anything is created, as a track file's header is: a file that does not read
// leaves nothing behind.
void splitReadPoints(const std::string& sourcePath, TrackFormat format, int track,
                     double closeMark) {
    countReadPoints(sourcePath, format, track, closeMark);
    const std::unique_ptr<PointReader> reader = openTrackReader(sourcePath, format, track);
    WrittenLines lines(*reader);
    lines.atEnd();
    copyAll(lines, writtenHeader(formatName(format)), closeMark, sourcePath);
    reader->close();
}

}  // namespace

double leadingNumber(std::string_view text) {
    // The number's characters gathered without the blanks: sign, digits, one ".".
    std::string number;
    bool pointSeen = false;
    bool digitSeen = false;
    for (const char c : text) {
        if (isSkippedBlank(c))
            continue;
        if (number.empty() && (c == '+' || c == '-')) {
            number.push_back(c);
        } else if (isDigit(c)) {
            number.push_back(c);
            digitSeen = true;
        } else if (c == '.' && !pointSeen) {
            number.push_back(c);
            pointSeen = true;
        } else {
            break;
        }
    }
    if (!digitSeen)
        return 0.0;

    const bool negative = number.front() == '-';
    const char* first = number.data() + ((number.front() == '+' || negative) ? 1 : 0);
    const char* last = number.data() + number.size();
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (error == std::errc::result_out_of_range) {
        // Too many digits for a double: a whole part other than zero is too large, else too small.
        bool largeWholePart = false;
        for (const char* p = first; p != last && *p != '.'; ++p) {
            if (*p != '0')
                largeWholePart = true;
        }
        value = largeWholePart ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (error != std::errc{} || end != last) {
        return 0.0;
    }
    return negative ? -value : value;
}

std::string splitFileName(const std::string& sourcePath, int number) {
    return sourcePath + "." + std::to_string(number) + ".plt";
}

void splitTrack(const std::string& sourcePath, std::string_view pointsPerFileText, int track) {
    const double closeMark = leadingNumber(pointsPerFileText) - 2.0;

    const TrackFormat format = detectTrackFormat(sourcePath);
    if (format != TrackFormat::Plt) {
        splitReadPoints(sourcePath, format, track, closeMark);
        return;
    }

    LineReader source(sourcePath, kSplitReadBytes);
    // The header is read before anything is created: a short source leaves no file behind.
    std::array<std::string, kHeaderLines> header;
    for (std::string& line : header)
        source.readLine(line);
    // Lines are counted only when the file is large enough to need more files than can be
    // numbered, even were every line one byte long, and only as far as it still might: most splits
    // read their source once.
    if (filesFor(source.size(), closeMark) > kMostSplitFiles) {
        const auto pointsPerFile = static_cast<std::int64_t>(closeMark);
        if (const auto lines =
                countLinesIfAtLeast(sourcePath, kMostSplitFiles * pointsPerFile + kHeaderLines)) {
            refuseTooManyFiles(*lines - kHeaderLines, closeMark, sourcePath);
        }
    }

    SourceLines lines(source);
    copyAll(lines, header, closeMark, sourcePath);
    source.close();
}

}  // namespace at
