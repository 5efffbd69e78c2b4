#pragma once

#include <cstddef>

// How long one piece of an input may be: a line of a track file, or a tag, a text or any other
// run of a GPX or TCX file between two of its marks. Beyond these a file holds no track, and
// refusing it there keeps memory flat whatever the file holds. Fuzzing builds lower them so that
// inputs of a few kilobytes reach them.
namespace at {

#ifdef AT_FUZZ_SMALL_LIMITS
inline constexpr std::size_t kMostLineBytes = 1024;
inline constexpr std::size_t kMostXmlRunBytes = 1024;
#else
inline constexpr std::size_t kMostLineBytes = std::size_t{1} << 20;
inline constexpr std::size_t kMostXmlRunBytes = std::size_t{1} << 20;
#endif

}  // namespace at
