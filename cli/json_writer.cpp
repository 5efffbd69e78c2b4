#include "cli/json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/text_encoding.h"

namespace at {
namespace {

void appendEscaped(std::string& out, std::string_view text) {
    out += '"';
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80) {
            const std::size_t n = utf8SequenceLength(text, i);
            if (n > 0) {
                out.append(text, i, n);
                i += n;
            } else {
                // A byte that is not UTF-8 is read as Windows-1252, as in error messages.
                appendWindows1252(out, b);
                ++i;
            }
            continue;
        }
        ++i;
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (b < 0x20 || b == 0x7F) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04X", b);
                    out += escape;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

}  // namespace

std::string jsonString(std::string_view text) {
    std::string out;
    appendEscaped(out, text);
    return out;
}

void JsonWriter::beforeValue() {
    if (needComma_)
        out_ += ',';
    needComma_ = true;
}

void JsonWriter::open(char bracket) {
    beforeValue();
    out_ += bracket;
    needComma_ = false;
}

void JsonWriter::close(char bracket) {
    out_ += bracket;
    needComma_ = true;
}

void JsonWriter::key(std::string_view name) {
    beforeValue();
    out_ += jsonString(name);
    out_ += ':';
    needComma_ = false;
}

void JsonWriter::string(std::string_view text) {
    beforeValue();
    out_ += jsonString(text);
}

void JsonWriter::integer(std::int64_t value) {
    beforeValue();
    out_ += std::to_string(value);
}

void JsonWriter::null() {
    beforeValue();
    out_ += "null";
}

void JsonWriter::number(double value) {
    if (!std::isfinite(value)) {
        null();
        return;
    }
    beforeValue();
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out_.append(buffer, result.ptr);
}

void JsonWriter::number(float value) {
    if (!std::isfinite(value)) {
        null();
        return;
    }
    beforeValue();
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out_.append(buffer, result.ptr);
}

void JsonWriter::number(const std::optional<double>& value) {
    if (value) {
        number(*value);
    } else {
        null();
    }
}

}  // namespace at
