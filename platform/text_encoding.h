#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Track files come from GPS software of every age: their bytes may be UTF-8 or Windows-1252.
namespace at {

// Length of the well-formed UTF-8 sequence at text[i], 0 if there is none (overlong forms,
// surrogates and code points above U+10FFFF are not well-formed).
std::size_t utf8SequenceLength(std::string_view text, std::size_t i);

bool isValidUtf8(std::string_view text);

// The character a Windows-1252 byte stands for, appended as UTF-8.
void appendWindows1252(std::string& out, unsigned char byte);

// The text with its ASCII capitals made small, whatever the process locale: names of formats,
// encodings and sports, which files write in either case.
std::string asciiLowercase(std::string_view text);

}  // namespace at
