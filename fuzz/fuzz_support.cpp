#include "fuzz/fuzz_support.h"

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace at::fuzz {
namespace {

struct Folder {
    std::string path;
    Folder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "analisis-tracks-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::abort();
        }
        path = pattern;
    }
    ~Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

}  // namespace

const std::string& workFolder() {
    static Folder folder;
    return folder.path;
}

void writeFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    check(static_cast<bool>(out), "cannot write the input file", path);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    check(static_cast<bool>(in), "cannot read", path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool fileExists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

void check(bool condition, const char* what, std::string_view a, std::string_view b) {
    if (condition)
        return;
    std::fprintf(stderr, "FALLO: %s\n", what);
    if (!a.empty())
        std::fprintf(stderr, "  [%.*s]\n", static_cast<int>(a.size() > 400 ? 400 : a.size()),
                     a.data());
    if (!b.empty())
        std::fprintf(stderr, "  [%.*s]\n", static_cast<int>(b.size() > 400 ? 400 : b.size()),
                     b.data());
    std::abort();
}

std::vector<std::string> splitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::string current;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            current += c;
        }
    }
    if (!current.empty())
        lines.push_back(current);
    return lines;
}

}  // namespace at::fuzz
