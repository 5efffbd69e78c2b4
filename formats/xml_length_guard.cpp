#include "formats/xml_length_guard.h"

#include <algorithm>

#include "platform/input_limits.h"

namespace at {
namespace {

constexpr std::size_t kQuotedBytes = 60;
constexpr char kCDataOpening[] = "CDATA[";
constexpr int kCDataOpeningLength = 6;
// A character outside ASCII, which plays no part in the marks of XML.
constexpr char kOtherCharacter = static_cast<char>(0x80);

}  // namespace

std::optional<XmlLengthGuard::Overrun> XmlLengthGuard::scan(const char* data, std::size_t size) {
    if (encoding_ == Encoding::Unknown)
        detectEncoding(data, size);
    keepStart(data, size);
    runStartAt_.reset();
    if (encoding_ == Encoding::Bytes) {
        for (std::size_t i = 0; i < size; ++i) {
            if (!step(data[i], 1, i))
                return overrun(data, size, i);
        }
    } else {
        const auto unitAt = [&](unsigned char first, unsigned char second) {
            const unsigned unit =
                encoding_ == Encoding::Utf16Big ? (first << 8) | second : first | (second << 8);
            return unit < 0x80 ? static_cast<char>(unit) : kOtherCharacter;
        };
        std::size_t i = 0;
        if (pendingByte_ && size > 0) {
            const char c = unitAt(*pendingByte_, static_cast<unsigned char>(data[0]));
            pendingByte_.reset();
            i = 1;
            if (!step(c, 2, 0))
                return overrun(data, size, 0);
        }
        for (; i + 1 < size; i += 2) {
            const char c = unitAt(static_cast<unsigned char>(data[i]),
                                  static_cast<unsigned char>(data[i + 1]));
            if (!step(c, 2, i))
                return overrun(data, size, i);
        }
        if (i < size)
            pendingByte_ = static_cast<unsigned char>(data[i]);
    }
    if (runStartAt_)
        runStart_.assign(data + *runStartAt_, std::min(kQuotedBytes, size - *runStartAt_));
    return std::nullopt;
}

bool XmlLengthGuard::step(char c, std::size_t bytes, std::size_t at) {
    if (c == '\n') {
        if (!afterCr_)
            ++line_;
        afterCr_ = false;
    } else {
        afterCr_ = c == '\r';
        if (afterCr_)
            ++line_;
    }
    if (c == '<' && (state_ == State::Text || state_ == State::Subset)) {
        // Markup inside the internal subset belongs to the document type declaration's run.
        if (state_ == State::Text) {
            startRun(at);
        } else {
            nested_ = true;
        }
        state_ = State::Open;
        length_ += bytes;
        return length_ <= kMostXmlRunBytes;
    }
    length_ += bytes;
    if (length_ > kMostXmlRunBytes)
        return false;
    switch (state_) {
        case State::Text:
            break;
        case State::Open:
            if (c == '?') {
                state_ = State::Instruction;
                previous_ = 0;
            } else if (c == '!') {
                state_ = State::Bang;
            } else {
                state_ = State::Tag;
                quote_ = 0;
                markupCharacter(c, at + bytes);
            }
            break;
        case State::Bang:
            if (c == '-') {
                state_ = State::BangDash;
            } else if (c == '[') {
                state_ = State::BangBracket;
                matched_ = 0;
            } else {
                asDeclaration(c, at + bytes);
            }
            break;
        case State::BangDash:
            if (c == '-') {
                state_ = State::Comment;
                previous_ = beforePrevious_ = 0;
            } else {
                asDeclaration(c, at + bytes);
            }
            break;
        case State::BangBracket:
            if (c != kCDataOpening[matched_]) {
                asDeclaration(c, at + bytes);
            } else if (++matched_ == kCDataOpeningLength) {
                state_ = State::CData;
                previous_ = beforePrevious_ = 0;
            }
            break;
        case State::Tag:
        case State::Declaration:
            markupCharacter(c, at + bytes);
            break;
        case State::Comment:
        case State::CData: {
            const char mark = state_ == State::Comment ? '-' : ']';
            if (c == '>' && previous_ == mark && beforePrevious_ == mark)
                endMarkup(at + bytes);
            beforePrevious_ = previous_;
            previous_ = c;
            break;
        }
        case State::Instruction:
            if (c == '>' && previous_ == '?')
                endMarkup(at + bytes);
            previous_ = c;
            break;
        case State::Subset:
            if (c == ']') {
                state_ = State::Declaration;
                inSubset_ = false;
                quote_ = 0;
            }
            break;
    }
    return true;
}

void XmlLengthGuard::markupCharacter(char c, std::size_t next) {
    if (quote_ != 0) {
        if (c == quote_)
            quote_ = 0;
    } else if (c == '"' || c == '\'') {
        quote_ = c;
    } else if (c == '[' && state_ == State::Declaration && !nested_ && !inSubset_) {
        state_ = State::Subset;
        inSubset_ = true;
    } else if (c == '>') {
        endMarkup(next);
    }
}

void XmlLengthGuard::asDeclaration(char c, std::size_t next) {
    state_ = State::Declaration;
    quote_ = 0;
    markupCharacter(c, next);
}

void XmlLengthGuard::startRun(std::size_t at) {
    length_ = 0;
    runLine_ = line_;
    runStartAt_ = at;
}

void XmlLengthGuard::endMarkup(std::size_t next) {
    if (nested_) {
        nested_ = false;
        state_ = State::Subset;
        return;
    }
    state_ = State::Text;
    startRun(next);
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

std::optional<XmlLengthGuard::Overrun> XmlLengthGuard::overrun(const char* data, std::size_t size,
                                                               std::size_t at) {
    if (runStartAt_)
        runStart_.assign(data + *runStartAt_, std::min(kQuotedBytes, size - *runStartAt_));
    return Overrun{at, what(), runLine_, runStart_};
}

void XmlLengthGuard::keepStart(const char* data, std::size_t size) {
    if (runStart_.size() < kQuotedBytes)
        runStart_.append(data, std::min(kQuotedBytes - runStart_.size(), size));
}

void XmlLengthGuard::detectEncoding(const char* data, std::size_t size) {
    encoding_ = Encoding::Bytes;
    if (size < 2)
        return;
    const auto first = static_cast<unsigned char>(data[0]);
    const auto second = static_cast<unsigned char>(data[1]);
    if ((first == 0xFE && second == 0xFF) || (first == 0x00 && second == '<'))
        encoding_ = Encoding::Utf16Big;
    if ((first == 0xFF && second == 0xFE) || (first == '<' && second == 0x00))
        encoding_ = Encoding::Utf16Little;
}

}  // namespace at
