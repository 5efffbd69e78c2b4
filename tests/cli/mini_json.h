#pragma once

#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A strict little JSON reader for checking what the command line writes: it refuses anything
// RFC 8259 refuses (raw control characters in strings, bad escapes, bytes that are not UTF-8,
// trailing commas, text after the value).
namespace at::test {

struct Json {
    enum class Type { Null, Bool, Number, String, Array, Object } type = Type::Null;
    bool boolean = false;
    double number = 0.0;
    std::string text;
    std::vector<Json> items;
    std::map<std::string, Json> members;

    const Json& operator[](const std::string& key) const {
        const auto it = members.find(key);
        if (type != Type::Object || it == members.end())
            throw std::runtime_error("no " + key);
        return it->second;
    }
};

class JsonReader {
  public:
    static Json parse(std::string_view text) {
        JsonReader reader(text);
        Json value = reader.value();
        reader.skipBlanks();
        if (reader.pos_ != text.size())
            reader.fail("text after the value");
        return value;
    }

  private:
    explicit JsonReader(std::string_view text) : s_(text) {}

    [[noreturn]] void fail(const std::string& what) const {
        throw std::runtime_error(what + " at byte " + std::to_string(pos_));
    }
    char peek() const { return pos_ < s_.size() ? s_[pos_] : '\0'; }
    void skipBlanks() {
        while (pos_ < s_.size() &&
               (s_[pos_] == ' ' || s_[pos_] == '\n' || s_[pos_] == '\r' || s_[pos_] == '\t')) {
            ++pos_;
        }
    }
    void expect(char c) {
        if (peek() != c)
            fail(std::string("expected ") + c);
        ++pos_;
    }
    bool literal(std::string_view word) {
        if (s_.substr(pos_, word.size()) != word)
            return false;
        pos_ += word.size();
        return true;
    }

    Json value() {
        skipBlanks();
        Json v;
        const char c = peek();
        if (c == '{') {
            v.type = Json::Type::Object;
            ++pos_;
            skipBlanks();
            if (peek() == '}') {
                ++pos_;
                return v;
            }
            while (true) {
                skipBlanks();
                std::string key = string();
                skipBlanks();
                expect(':');
                v.members[key] = value();
                skipBlanks();
                if (peek() == '}') {
                    ++pos_;
                    return v;
                }
                expect(',');
            }
        }
        if (c == '[') {
            v.type = Json::Type::Array;
            ++pos_;
            skipBlanks();
            if (peek() == ']') {
                ++pos_;
                return v;
            }
            while (true) {
                v.items.push_back(value());
                skipBlanks();
                if (peek() == ']') {
                    ++pos_;
                    return v;
                }
                expect(',');
            }
        }
        if (c == '"') {
            v.type = Json::Type::String;
            v.text = string();
            return v;
        }
        if (literal("null"))
            return v;
        if (literal("true") || literal("false")) {
            v.type = Json::Type::Bool;
            v.boolean = s_[pos_ - 1] == 'e' && s_[pos_ - 4] == 't';
            return v;
        }
        v.type = Json::Type::Number;
        v.number = number();
        return v;
    }

    double number() {
        const std::size_t start = pos_;
        if (peek() == '-')
            ++pos_;
        if (peek() == '0') {
            ++pos_;
        } else if (peek() >= '1' && peek() <= '9') {
            while (peek() >= '0' && peek() <= '9')
                ++pos_;
        } else {
            fail("bad value");
        }
        if (peek() == '.') {
            ++pos_;
            if (!(peek() >= '0' && peek() <= '9'))
                fail("bad fraction");
            while (peek() >= '0' && peek() <= '9')
                ++pos_;
        }
        if (peek() == 'e' || peek() == 'E') {
            ++pos_;
            if (peek() == '+' || peek() == '-')
                ++pos_;
            if (!(peek() >= '0' && peek() <= '9'))
                fail("bad exponent");
            while (peek() >= '0' && peek() <= '9')
                ++pos_;
        }
        return std::strtod(std::string(s_.substr(start, pos_ - start)).c_str(), nullptr);
    }

    static void appendUtf8(std::string& out, unsigned c) {
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

    unsigned hex4() {
        if (pos_ + 4 > s_.size())
            fail("short \\u escape");
        unsigned v = 0;
        for (int k = 0; k < 4; ++k) {
            const char h = s_[pos_++];
            v <<= 4;
            if (h >= '0' && h <= '9') {
                v |= static_cast<unsigned>(h - '0');
            } else if (h >= 'a' && h <= 'f') {
                v |= static_cast<unsigned>(h - 'a' + 10);
            } else if (h >= 'A' && h <= 'F') {
                v |= static_cast<unsigned>(h - 'A' + 10);
            } else {
                fail("bad \\u escape");
            }
        }
        return v;
    }

    // A well-formed UTF-8 sequence of 2 to 4 bytes, copied to `out`.
    void utf8Sequence(std::string& out) {
        const auto b = static_cast<unsigned char>(s_[pos_]);
        std::size_t n = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            n = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            n = 3;
            low = b == 0xE0 ? 0xA0 : 0x80;
            high = b == 0xED ? 0x9F : 0xBF;
        } else if (b >= 0xF0 && b <= 0xF4) {
            n = 4;
            low = b == 0xF0 ? 0x90 : 0x80;
            high = b == 0xF4 ? 0x8F : 0xBF;
        } else {
            fail("not UTF-8");
        }
        if (pos_ + n > s_.size())
            fail("cut UTF-8");
        const auto second = static_cast<unsigned char>(s_[pos_ + 1]);
        if (second < low || second > high)
            fail("not UTF-8");
        for (std::size_t k = 2; k < n; ++k) {
            if ((static_cast<unsigned char>(s_[pos_ + k]) & 0xC0) != 0x80)
                fail("not UTF-8");
        }
        out.append(s_.substr(pos_, n));
        pos_ += n;
    }

    std::string string() {
        expect('"');
        std::string out;
        while (true) {
            if (pos_ >= s_.size())
                fail("unterminated string");
            const char c = s_[pos_];
            const auto b = static_cast<unsigned char>(c);
            if (c == '"') {
                ++pos_;
                return out;
            }
            if (b < 0x20)
                fail("raw control character");
            if (b >= 0x80) {
                utf8Sequence(out);
                continue;
            }
            ++pos_;
            if (c != '\\') {
                out += c;
                continue;
            }
            const char e = s_[pos_++];
            switch (e) {
                case '"':
                case '\\':
                case '/':
                    out += e;
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u': {
                    const unsigned code = hex4();
                    if (code >= 0xD800 && code <= 0xDFFF)
                        fail("surrogate escape");
                    appendUtf8(out, code);
                    break;
                }
                default:
                    fail("bad escape");
            }
        }
    }

    std::string_view s_;
    std::size_t pos_ = 0;
};

}  // namespace at::test
