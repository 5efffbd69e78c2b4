#include "formats/xml_length_guard.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/input_limits.h"
#include "platform/text_file.h"

namespace at {
namespace {

constexpr std::size_t kQuotedBytes = 60;
constexpr char kCDataOpening[] = "CDATA[";
constexpr int kCDataOpeningLength = 6;
// A character outside ASCII, which plays no part in the marks of XML.
constexpr char kOtherCharacter = static_cast<char>(0x80);

// What can end or change the state inside a tag or a declaration, as a table: tags are most of a
// track's bytes, and one look-up a byte keeps the guard well behind expat's own pace.
constexpr std::array<bool, 256> kMarkupStops = [] {
    std::array<bool, 256> stops{};
    for (const unsigned char c : {'"', '\'', '>', '['})
        stops[c] = true;
    return stops;
}();

bool isMarkupStop(char c) {
    return kMarkupStops[static_cast<unsigned char>(c)];
}

// The index of the first `c` from `from` on, or `count`.
std::size_t find(const char* chars, std::size_t from, std::size_t count, char c) {
    const void* found = std::memchr(chars + from, c, count - from);
    return found != nullptr ? static_cast<std::size_t>(static_cast<const char*>(found) - chars)
                            : count;
}

}  // namespace

std::optional<XmlLengthGuard::Overrun> XmlLengthGuard::scan(const char* data, std::size_t size) {
    if (encoding_ == Encoding::Unknown)
        detectEncoding(data, size);
    const char* chars = data;
    std::size_t count = size;
    // The offset in `data` of a character: one byte each, or a UTF-16 unit, the first of which
    // may have been completed by the first byte here.
    bool completesUnit = false;
    const auto byteOffset = [&](std::size_t k) {
        if (encoding_ == Encoding::Bytes)
            return k;
        return completesUnit ? (k == 0 ? 0 : 2 * k - 1) : 2 * k;
    };
    if (encoding_ != Encoding::Bytes) {
        narrow_.clear();
        std::size_t i = 0;
        if (pendingByte_ && size > 0) {
            narrow_.push_back(unit(*pendingByte_, static_cast<unsigned char>(data[0])));
            pendingByte_.reset();
            completesUnit = true;
            i = 1;
        }
        for (; i + 1 < size; i += 2) {
            narrow_.push_back(
                unit(static_cast<unsigned char>(data[i]), static_cast<unsigned char>(data[i + 1])));
        }
        if (i < size)
            pendingByte_ = static_cast<unsigned char>(data[i]);
        chars = narrow_.data();
        count = narrow_.size();
    }

    if (runStart_.size() < kQuotedBytes)
        runStart_.append(data, std::min(kQuotedBytes - runStart_.size(), size));
    runStartAt_.reset();
    runFrom_ = 0;
    const std::optional<std::size_t> beyond = scanCharacters(chars, count);
    std::int64_t lines = 0;
    if (runStartAt_) {
        lines = linesUpTo(chars, *runStartAt_);
        runLine_ = 1 + linesBefore_ + lines;
        const std::size_t at = byteOffset(*runStartAt_);
        runStart_.assign(data + at, std::min(kQuotedBytes, size - at));
    }
    if (beyond)
        return Overrun{byteOffset(*beyond), what(), runLine_, runStart_};
    runBase_ += (count - runFrom_) * weight_;
    const std::size_t counted = runStartAt_.value_or(0);
    linesBefore_ += lines + countLineTerminators(chars + counted, count - counted);
    if (count > 0)
        afterCr_ = chars[count - 1] == '\r';
    return std::nullopt;
}

std::optional<std::size_t> XmlLengthGuard::scanCharacters(const char* chars, std::size_t count) {
    std::size_t i = 0;
    while (i < count) {
        switch (state_) {
            case State::Text:
                // Most texts of a track are empty, one tag following the other.
                if (chars[i] != '<')
                    i = find(chars, i, count, '<');
                if (i == count)
                    break;
                if (runTooLong(i))
                    return firstBeyond();
                startRun(i++);
                state_ = State::Open;
                // Most markup is an element's tag: straight to it.
                if (i < count && chars[i] != '!' && chars[i] != '?') {
                    quote_ = 0;
                    state_ = State::Tag;
                }
                break;
            case State::Subset:
                // Markup here belongs to the document type declaration's run.
                while (i < count && chars[i] != '<' && chars[i] != ']')
                    ++i;
                if (i == count)
                    break;
                if (chars[i++] == '<') {
                    nested_ = true;
                    state_ = State::Open;
                } else {
                    inSubset_ = false;
                    quote_ = 0;
                    state_ = State::Declaration;
                }
                break;
            case State::Tag:
            case State::Declaration:
                for (; i < count; ++i) {
                    if (quote_ != 0) {
                        i = find(chars, i, count, quote_);
                        if (i == count)
                            break;
                        quote_ = 0;
                        continue;
                    }
                    while (i < count && !isMarkupStop(chars[i]))
                        ++i;
                    if (i == count)
                        break;
                    const char c = chars[i];
                    if (c == '"' || c == '\'') {
                        quote_ = c;
                    } else if (c == '>') {
                        if (endMarkup(++i))
                            return firstBeyond();
                        break;
                    } else if (c == '[' && state_ == State::Declaration && !nested_) {
                        ++i;
                        inSubset_ = true;
                        state_ = State::Subset;
                        break;
                    }
                }
                break;
            case State::Comment:
            case State::CData:
            case State::Instruction: {
                const char mark = state_ == State::Comment ? '-'
                                  : state_ == State::CData ? ']'
                                                           : '?';
                const bool twoMarks = state_ != State::Instruction;
                for (; i < count; ++i) {
                    const char c = chars[i];
                    const bool closes =
                        c == '>' && previous_ == mark && (!twoMarks || beforePrevious_ == mark);
                    beforePrevious_ = previous_;
                    previous_ = c;
                    if (closes) {
                        if (endMarkup(++i))
                            return firstBeyond();
                        break;
                    }
                }
                break;
            }
            case State::Open:
            case State::Bang:
            case State::BangDash:
            case State::BangBracket:
                if (opening(chars[i]))
                    ++i;
                break;
        }
    }
    if (runTooLong(count))
        return firstBeyond();
    return std::nullopt;
}

bool XmlLengthGuard::opening(char c) {
    const State before = state_;
    if (before == State::Open && c == '?') {
        state_ = State::Instruction;
    } else if (before == State::Open && c == '!') {
        state_ = State::Bang;
        return true;
    } else if (before == State::Open) {
        quote_ = 0;
        state_ = State::Tag;
        return false;
    } else if (before == State::Bang && c == '-') {
        state_ = State::BangDash;
        return true;
    } else if (before == State::Bang && c == '[') {
        matched_ = 0;
        state_ = State::BangBracket;
        return true;
    } else if (before == State::BangDash && c == '-') {
        state_ = State::Comment;
    } else if (before == State::BangBracket && c == kCDataOpening[matched_]) {
        if (++matched_ < kCDataOpeningLength)
            return true;
        state_ = State::CData;
    } else {
        quote_ = 0;
        state_ = State::Declaration;
        return false;
    }
    // The marks that open a comment, a CDATA section or an instruction do not close it.
    previous_ = beforePrevious_ = 0;
    return true;
}

bool XmlLengthGuard::endMarkup(std::size_t next) {
    if (nested_) {
        nested_ = false;
        state_ = State::Subset;
        return false;
    }
    if (runTooLong(next))
        return true;
    inSubset_ = false;
    state_ = State::Text;
    startRun(next);
    return false;
}

void XmlLengthGuard::startRun(std::size_t at) {
    runBase_ = 0;
    runFrom_ = at;
    runStartAt_ = at;
}

bool XmlLengthGuard::runTooLong(std::size_t end) const {
    return runBase_ + (end - runFrom_) * weight_ > kMostXmlRunBytes;
}

std::size_t XmlLengthGuard::firstBeyond() const {
    return runFrom_ + (kMostXmlRunBytes - runBase_) / weight_;
}

std::int64_t XmlLengthGuard::linesUpTo(const char* chars, std::size_t n) const {
    if (n == 0)
        return 0;
    // A CR LF split between two scans was counted with the CR.
    return countLineTerminators(chars, n) - (afterCr_ && chars[0] == '\n' ? 1 : 0);
}

const char* XmlLengthGuard::what() const {
    if (inSubset_ || nested_)
        return "una declaración";
    switch (state_) {
        case State::Text:
            return "un texto";
        case State::Open:
        case State::Bang:
        case State::BangDash:
        case State::BangBracket:
        case State::Tag:
            return "una etiqueta";
        case State::Comment:
            return "un comentario";
        case State::Instruction:
            return "una instrucción de proceso";
        case State::CData:
            return "una sección CDATA";
        case State::Declaration:
        case State::Subset:
            break;
    }
    return "una declaración";
}

char XmlLengthGuard::unit(unsigned char first, unsigned char second) const {
    const unsigned value =
        encoding_ == Encoding::Utf16Big ? (first << 8) | second : first | (second << 8);
    return value < 0x80 ? static_cast<char>(value) : kOtherCharacter;
}

void XmlLengthGuard::detectEncoding(const char* data, std::size_t size) {
    encoding_ = Encoding::Bytes;
    if (size >= 2) {
        const auto first = static_cast<unsigned char>(data[0]);
        const auto second = static_cast<unsigned char>(data[1]);
        if ((first == 0xFE && second == 0xFF) || (first == 0x00 && second == '<'))
            encoding_ = Encoding::Utf16Big;
        if ((first == 0xFF && second == 0xFE) || (first == '<' && second == 0x00))
            encoding_ = Encoding::Utf16Little;
    }
    weight_ = encoding_ == Encoding::Bytes ? 1 : 2;
}

}  // namespace at
