#include "platform/runtime_error.h"

#include "platform/text_encoding.h"

#include <cstdio>

namespace at {

const char* spanishName(ErrorKind kind) {
    switch (kind) {
        case ErrorKind::Overflow:
            return "Desbordamiento";
        case ErrorKind::TypeMismatch:
            return "No coinciden los tipos";
        case ErrorKind::FileNotFound:
            return "No se ha encontrado el archivo";
        case ErrorKind::PastEndOfFile:
            return "Se ha leído más allá del final del archivo";
        case ErrorKind::PathFileAccess:
            return "Error de acceso a la ruta o al archivo";
        case ErrorKind::DiskFull:
            return "Disco lleno";
        case ErrorKind::DivisionByZero:
            return "División por cero";
        case ErrorKind::DeviceIo:
            return "Error de E/S en el dispositivo";
    }
    return "Error";
}

RuntimeError::RuntimeError(ErrorKind kind, std::string detail)
    : std::runtime_error(spanishName(kind)), kind_(kind), detail_(std::move(detail)) {
    refresh();
}

RuntimeError& RuntimeError::withFile(const std::string& path) {
    if (!file_) {
        file_ = path;
        refresh();
    }
    return *this;
}

RuntimeError& RuntimeError::withLine(std::int64_t lineNumber) {
    if (!line_) {
        line_ = lineNumber;
        refresh();
    }
    return *this;
}

RuntimeError& RuntimeError::movedDown(std::int64_t lines) {
    if (line_) {
        *line_ += lines;
        refresh();
    }
    return *this;
}

RuntimeError& RuntimeError::withField(const std::string& fieldName) {
    if (!field_) {
        field_ = fieldName;
        refresh();
    }
    return *this;
}

RuntimeError& RuntimeError::withText(const std::string& offendingText) {
    if (!text_) {
        text_ = offendingText;
        refresh();
    }
    return *this;
}

RuntimeError& RuntimeError::withByteOffset(std::int64_t offset) {
    if (!byteOffset_) {
        byteOffset_ = offset;
        refresh();
    }
    return *this;
}

RuntimeError& RuntimeError::withAdvice(const std::string& advice) {
    if (!advice_) {
        advice_ = advice;
        refresh();
    }
    return *this;
}

std::string RuntimeError::message() const {
    return message_;
}

void RuntimeError::refresh() {
    std::string m = spanishName(kind_);
    const auto addLine = [&m](const char* caption, const std::string& value) {
        m.append("\n").append(caption).append(value);
    };
    if (!detail_.empty())
        addLine("", detail_);
    if (file_)
        addLine("Archivo: ", displayableText(*file_, 400));
    if (line_)
        addLine("Línea: ", std::to_string(*line_));
    if (byteOffset_)
        addLine("Posición: byte ", std::to_string(*byteOffset_));
    if (field_)
        addLine("Campo: ", *field_);
    if (text_)
        addLine("Texto: ", "«" + displayableText(*text_) + "»");
    if (advice_)
        addLine("", *advice_);
    message_ = std::move(m);
}

std::string displayableText(const std::string& bytes, std::size_t maxChars) {
    const bool utf8 = isValidUtf8(bytes);
    std::string out;
    std::size_t chars = 0;
    for (std::size_t i = 0; i < bytes.size(); ++chars) {
        if (chars == maxChars) {
            out += "…";
            break;
        }
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x20 || b == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", b);
            out += hex;
            ++i;
        } else if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
        } else if (utf8) {
            const std::size_t n = utf8SequenceLength(bytes, i);
            out.append(bytes, i, n);
            i += n;
        } else {
            appendWindows1252(out, b);
            ++i;
        }
    }
    return out;
}

}  // namespace at
