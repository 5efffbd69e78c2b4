#include "platform/runtime_error.h"

#include <array>
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

std::string RuntimeError::message() const {
    return message_;
}

void RuntimeError::refresh() {
    std::string m = spanishName(kind_);
    if (!detail_.empty())
        m += "\n" + detail_;
    if (file_)
        m += "\nArchivo: " + displayableText(*file_, 400);
    if (line_)
        m += "\nLínea: " + std::to_string(*line_);
    if (field_)
        m += "\nCampo: " + *field_;
    if (text_)
        m += "\nTexto: «" + displayableText(*text_) + "»";
    message_ = std::move(m);
}

namespace {

// Windows-1252 bytes 0x80..0x9F; the rest of the upper half is Latin-1.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Length of the valid UTF-8 sequence starting at s[i] (0 if it is not one).
std::size_t utf8SequenceLength(const std::string& s, std::size_t i) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t n = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
    } else {
        return 0;
    }
    if (i + n > s.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k) {
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
            return 0;
    }
    return n;
}

bool isValidUtf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        const std::size_t n = utf8SequenceLength(s, i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

}  // namespace

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
            appendUtf8(out, b < 0xA0 ? kCp1252High[b - 0x80] : static_cast<char32_t>(b));
            ++i;
        }
    }
    return out;
}

}  // namespace at
