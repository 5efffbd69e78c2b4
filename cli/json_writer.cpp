#include "cli/json_writer.h"

#include <charconv>
#include <cmath>

#include "platform/text_encoding.h"

namespace at {

std::string jsonText(std::string_view bytes) {
    if (isValidUtf8(bytes))
        return std::string(bytes);
    std::string out;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = utf8SequenceLength(bytes, i);
        if (n > 0) {
            out.append(bytes, i, n);
            i += n;
        } else if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            out += bytes[i++];
        } else {
            appendWindows1252(out, static_cast<unsigned char>(bytes[i++]));
        }
    }
    return out;
}

double jsonNumber(float value) {
    if (!std::isfinite(value))
        return value;
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    double wide = value;
    std::from_chars(text, written.ptr, wide);
    return wide;
}

std::string jsonLine(const Json& value) {
    // Every text went through jsonText; replacing is only a guard against a text that did not.
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace at
