#include "platform/text_file.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#if defined(__x86_64__)
#include <immintrin.h>

#include "platform/cpu_features.h"
#endif

#include "platform/file_calls.h"
#include "platform/input_limits.h"

namespace at {
namespace {

constexpr std::size_t kBufferSize = std::size_t{1} << 20;
// Small enough to stay in the processor's cache from the read to the count.
constexpr std::size_t kCountBufferSize = std::size_t{128} << 10;
// The start of an overlong line kept for its message: more than a message shows, so that it
// shows the line going on.
constexpr std::size_t kQuotedLineBytes = 100;

// The first CR or LF in [p, end), or end.
const char* findLineEnd(const char* p, const char* end) {
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    for (; end - p >= 16; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int mask =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr)));
        if (mask != 0)
            return p + __builtin_ctz(static_cast<unsigned>(mask));
    }
#endif
    while (p != end && *p != '\n' && *p != '\r')
        ++p;
    return p;
}

}  // namespace

FileDescriptor openRegularFileForReading(const std::string& path) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused just below.
    FileDescriptor file(
        fileCalls().open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0));
    if (!file.isOpen())
        throw fileError(errno, path);
    struct stat st {};
    if (fileCalls().fstat(file.get(), &st) != 0)
        throw fileError(errno, path);
    if (!S_ISREG(st.st_mode)) {
        throw RuntimeError(ErrorKind::PathFileAccess, S_ISDIR(st.st_mode)
                                                          ? "La ruta es una carpeta, no un archivo."
                                                          : "La ruta no es un archivo normal.")
            .withFile(path);
    }
    return file;
}

namespace {

// The system's reason in the user's language, whatever the process locale.
std::string spanishReason(int errorNumber) {
    switch (errorNumber) {
        case ENOENT:
            return "El archivo o alguna carpeta de la ruta no existe.";
        case EACCES:
        case EPERM:
            return "Permiso denegado.";
        case EISDIR:
            return "La ruta es una carpeta.";
        case ENOTDIR:
            return "Una parte de la ruta no es una carpeta.";
        case EROFS:
            return "El sistema de archivos es de solo lectura.";
        case ELOOP:
            return "Demasiados enlaces simbólicos en la ruta.";
        case ENAMETOOLONG:
            return "El nombre del archivo es demasiado largo.";
        case ETXTBSY:
            return "El archivo está en uso.";
        case EEXIST:
            return "El archivo ya existe.";
        case ENOSPC:
            return "No queda espacio en el dispositivo.";
        case EDQUOT:
            return "Se ha superado la cuota de disco.";
        case EFBIG:
            return "El archivo es demasiado grande.";
        case EIO:
            return "Error de entrada/salida.";
        case EMFILE:
        case ENFILE:
            return "Hay demasiados archivos abiertos.";
        default:
            return "Error del sistema número " + std::to_string(errorNumber) + ".";
    }
}

}  // namespace

RuntimeError fileError(int errorNumber, const std::string& path) {
    ErrorKind kind = ErrorKind::DeviceIo;
    switch (errorNumber) {
        case ENOENT:
            kind = ErrorKind::FileNotFound;
            break;
        case EACCES:
        case EPERM:
        case EISDIR:
        case ENOTDIR:
        case EROFS:
        case ELOOP:
        case ENAMETOOLONG:
        case ETXTBSY:
        case EEXIST:
            kind = ErrorKind::PathFileAccess;
            break;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            kind = ErrorKind::DiskFull;
            break;
        default:
            break;
    }
    return std::move(RuntimeError(kind, spanishReason(errorNumber)).withFile(path));
}

LineReader::LineReader(const std::string& path, std::size_t bufferBytes)
    : path_(path),
      file_(openRegularFileForReading(path)),
      bufferBytes_(bufferBytes),
      buffer_(new char[bufferBytes]) {}

void LineReader::close() {
    file_.close();
}

std::int64_t LineReader::size() const {
    const std::int64_t bytes = file_.size();
    if (bytes < 0)
        throw fileError(errno, path_);
    return bytes;
}

bool LineReader::fill(std::int64_t lineNumber) {
    if (pos_ < end_)
        return true;
    if (eof_ || !file_.isOpen())
        return false;
    const ssize_t n = file_.readSome(buffer_.get(), bufferBytes_);
    if (n < 0)
        throw std::move(fileError(errno, path_).withLine(lineNumber));
    if (n == 0) {
        eof_ = true;
        return false;
    }
    pos_ = 0;
    end_ = static_cast<std::size_t>(n);
    return true;
}

std::string_view LineReader::readLine() {
    if (!fill(linesRead_ + 1)) {
        throw RuntimeError(ErrorKind::PastEndOfFile).withFile(path_).withLine(linesRead_ + 1);
    }
    ++linesRead_;
    const char* start = buffer_.get() + pos_;
    const char* stop = buffer_.get() + end_;
    const char* p = findLineEnd(start, stop);
    // Most lines lie whole in the buffer, and are handed out where they lie; only a CR at its
    // end, whose LF may follow in the next read, needs the line kept elsewhere first.
    if (p != stop && !(*p == '\r' && p + 1 == stop)) {
        if (static_cast<std::size_t>(p - start) > kMostLineBytes)
            throw lineTooLong({}, start, p);
        pos_ = static_cast<std::size_t>(p - buffer_.get()) + 1;
        if (*p == '\r' && buffer_[pos_] == '\n')
            ++pos_;
        return {start, static_cast<std::size_t>(p - start)};
    }
    spill_.clear();
    for (;;) {
        if (spill_.size() + static_cast<std::size_t>(p - start) > kMostLineBytes)
            throw lineTooLong(spill_, start, p);
        spill_.append(start, p);
        if (p != stop) {
            const bool carriageReturn = *p == '\r';
            pos_ = static_cast<std::size_t>(p - buffer_.get()) + 1;
            if (carriageReturn && fill(linesRead_) && buffer_[pos_] == '\n')
                ++pos_;
            return spill_;
        }
        pos_ = end_;
        // A failure here is in the middle of the line just counted.
        if (!fill(linesRead_))
            return spill_;  // last line without a terminator
        start = buffer_.get() + pos_;
        stop = buffer_.get() + end_;
        p = findLineEnd(start, stop);
    }
}

CrLfLines LineReader::readCrLfLines(std::int64_t most) {
    if (!fill(linesRead_ + 1))
        return {};
    const CrLfLines lines =
        leadingCrLfLines(buffer_.get() + pos_, end_ - pos_, most, kMostLineBytes);
    pos_ += lines.bytes.size();
    linesRead_ += lines.count;
    return lines;
}

void LineReader::readLine(std::string& line) {
    line.assign(readLine());
}

RuntimeError LineReader::lineTooLong(std::string_view start, const char* more,
                                     const char* moreEnd) const {
    std::string quoted(start.substr(0, kQuotedLineBytes));
    quoted.append(
        more, std::min(kQuotedLineBytes - quoted.size(), static_cast<std::size_t>(moreEnd - more)));
    RuntimeError error(ErrorKind::Overflow, "La línea pasa de " + std::to_string(kMostLineBytes) +
                                                " bytes: no es una línea de un track.");
    error.withFile(path_).withLine(linesRead_).withText(quoted);
    return error;
}

namespace {

// Why `path` could not be opened for writing: a link or something else than a plain file in
// the way, or the system's own reason.
RuntimeError refusedOutput(int errorNumber, const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0) {
        if (S_ISLNK(st.st_mode)) {
            return std::move(
                RuntimeError(
                    ErrorKind::PathFileAccess,
                    "Con ese nombre hay un enlace simbólico: no se escribe a través de él.")
                    .withFile(path));
        }
        // A FIFO without a reader refuses the open itself (ENXIO).
        if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
            return std::move(
                RuntimeError(ErrorKind::PathFileAccess, "La ruta no es un archivo normal.")
                    .withFile(path));
        }
    }
    return fileError(errorNumber, path);
}

}  // namespace

LineWriter::LineWriter(const std::string& path, Existing existing) : path_(path) {
    // Never through a link, into a FIFO or onto a device: what is written is a file of its own.
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW | O_NONBLOCK;
    if (existing == Existing::Untouched) {
        // A file this call made is a plain file: nothing to look at.
        file_ = FileDescriptor(fileCalls().open(path.c_str(), flags | O_EXCL, 0666));
        if (!file_.isOpen())
            return;
    } else {
        file_ = FileDescriptor(fileCalls().open(path.c_str(), flags | O_TRUNC, 0666));
        if (!file_.isOpen())
            throw refusedOutput(errno, path);
        struct stat st {};
        if (fileCalls().fstat(file_.get(), &st) != 0)
            throw fileError(errno, path);
        if (!S_ISREG(st.st_mode)) {
            throw RuntimeError(ErrorKind::PathFileAccess, "La ruta no es un archivo normal.")
                .withFile(path);
        }
    }
    buffer_.reset(new char[kBufferSize]);
}

LineWriter::~LineWriter() = default;

void LineWriter::writeLine(std::string_view line) {
    while (used_ + line.size() + 2 > kBufferSize) {
        if (used_ == 0) {
            // A line longer than the buffer goes out in buffer-sized pieces.
            const std::size_t part = kBufferSize - 2;
            std::memcpy(buffer_.get(), line.data(), part);
            used_ = part;
            line.remove_prefix(part);
        }
        flush();
    }
    std::memcpy(buffer_.get() + used_, line.data(), line.size());
    used_ += line.size();
    buffer_[used_++] = '\r';
    buffer_[used_++] = '\n';
}

void LineWriter::writeLines(const CrLfLines& lines) {
    std::string_view bytes = lines.bytes;
    while (used_ + bytes.size() > kBufferSize) {
        const std::size_t part = kBufferSize - used_;
        std::memcpy(buffer_.get() + used_, bytes.data(), part);
        used_ = kBufferSize;
        bytes.remove_prefix(part);
        flush();
    }
    std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
}

void LineWriter::flush() {
    if (!file_.writeAll(buffer_.get(), used_))
        throw fileError(errno, path_);
    used_ = 0;
}

void LineWriter::close() {
    if (!file_.isOpen())
        return;
    try {
        flush();
    } catch (...) {
        file_ = FileDescriptor();
        throw;
    }
    if (!file_.close())
        throw fileError(errno, path_);
}

#if defined(__x86_64__)
namespace {

// The terminators of whole 32-byte blocks of `p`, from `i` on, while a byte follows the block;
// `i` is left at the first byte not counted. AVX2 where the processor has it.
__attribute__((target("avx2"))) std::int64_t countTerminatorsAvx2(const unsigned char* p,
                                                                  std::size_t size,
                                                                  std::size_t& i) {
    const __m256i lf = _mm256_set1_epi8('\n');
    const __m256i cr = _mm256_set1_epi8('\r');
    std::int64_t count = 0;
    for (; i + 33 <= size; i += 32) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i));
        const __m256i next = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i + 1));
        const __m256i isLf = _mm256_cmpeq_epi8(v, lf);
        const __m256i loneCr =
            _mm256_andnot_si256(_mm256_cmpeq_epi8(next, lf), _mm256_cmpeq_epi8(v, cr));
        count += __builtin_popcount(
            static_cast<unsigned>(_mm256_movemask_epi8(_mm256_or_si256(isLf, loneCr))));
    }
    return count;
}

}  // namespace
#endif

std::int64_t countLineTerminators(const char* data, std::size_t size) {
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    std::int64_t count = 0;
    std::size_t i = 0;
#if defined(__x86_64__)
    if (hasAvx2())
        count += countTerminatorsAvx2(p, size, i);
    // LF bytes plus CR bytes not followed by LF, sixteen at a time; byte-wide counters are
    // folded into the total before they can wrap.
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i zero = _mm_setzero_si128();
    while (i + 17 <= size) {
        __m128i counters = zero;
        for (int round = 0; round < 255 && i + 17 <= size; ++round, i += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1));
            const __m128i isLf = _mm_cmpeq_epi8(v, lf);
            const __m128i loneCr =
                _mm_andnot_si128(_mm_cmpeq_epi8(next, lf), _mm_cmpeq_epi8(v, cr));
            counters = _mm_sub_epi8(counters, _mm_or_si128(isLf, loneCr));
        }
        const __m128i sums = _mm_sad_epu8(counters, zero);
        count += _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_unpackhi_epi64(sums, sums));
    }
#endif
    for (; i < size; ++i) {
        if (p[i] == '\n') {
            ++count;
        } else if (p[i] == '\r' && !(i + 1 < size && p[i + 1] == '\n')) {
            ++count;
        }
    }
    return count;
}

std::optional<std::int64_t> countLinesIfAtLeast(const std::string& path, std::int64_t limit) {
    const FileDescriptor file = openRegularFileForReading(path);
    std::int64_t unread = file.size();
    std::unique_ptr<char[]> buffer(new char[kCountBufferSize]);
    std::int64_t terminators = 0;
    bool previousEndedInCr = false;
    char last = '\n';
    bool empty = true;
    for (;;) {
        // No line is shorter than one byte: a line could still follow every byte not read.
        if (unread >= 0 && terminators + unread + 1 < limit)
            return std::nullopt;
        const ssize_t n = file.readSome(buffer.get(), kCountBufferSize);
        if (n < 0)
            throw fileError(errno, path);
        if (n == 0)
            break;
        const auto size = static_cast<std::size_t>(n);
        terminators += countLineTerminators(buffer.get(), size);
        // A CR LF split between two reads was counted twice.
        if (previousEndedInCr && buffer[0] == '\n')
            --terminators;
        last = buffer[size - 1];
        previousEndedInCr = last == '\r';
        empty = false;
        unread -= n;
    }
    const bool unterminatedLastLine = !empty && last != '\n' && last != '\r';
    return terminators + (unterminatedLastLine ? 1 : 0);
}

std::int64_t countLines(const std::string& path) {
    return *countLinesIfAtLeast(path, 0);
}

}  // namespace at
