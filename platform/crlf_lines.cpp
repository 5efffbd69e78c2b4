#include "platform/crlf_lines.h"

#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>

#include "platform/cpu_features.h"
#endif

namespace at {
namespace {

// One bit per byte of a 64-byte block, the first byte the lowest bit.
struct TerminatorBits {
    std::uint64_t lf = 0;
    std::uint64_t cr = 0;
};

TerminatorBits portableTerminatorBits(const char* block) {
    TerminatorBits bits;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    for (int part = 0; part < 4; ++part) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * part));
        const auto lfMask = static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf)));
        const auto crMask = static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, cr)));
        bits.lf |= std::uint64_t{lfMask} << (16 * part);
        bits.cr |= std::uint64_t{crMask} << (16 * part);
    }
#else
    for (int i = 0; i < 64; ++i) {
        bits.lf |= std::uint64_t{block[i] == '\n'} << i;
        bits.cr |= std::uint64_t{block[i] == '\r'} << i;
    }
#endif
    return bits;
}

#if defined(__x86_64__)
__attribute__((target("avx2"))) inline TerminatorBits avx2TerminatorBits(const char* block) {
    const __m256i lf = _mm256_set1_epi8('\n');
    const __m256i cr = _mm256_set1_epi8('\r');
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block + 32));
    const auto bitsOf = [](__m256i v, __m256i c) __attribute__((target("avx2"))) {
        return std::uint64_t{
            static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, c)))};
    };
    return {bitsOf(low, lf) | bitsOf(high, lf) << 32, bitsOf(low, cr) | bitsOf(high, cr) << 32};
}
#endif

// The `n`th set bit of `bits`, counted from the lowest, which is the first.
int nthSetBit(std::uint64_t bits, std::int64_t n) {
    for (; n > 1; --n)
        bits &= bits - 1;
    return __builtin_ctzll(bits);
}

// A block at a time; a line's length is looked at where its end lies, and only for the first
// line ending in a block, the others being shorter than a block.
template <TerminatorBits (*bitsOf)(const char*)>
[[gnu::always_inline]] inline CrLfLines scanCrLfLines(const char* data, std::size_t size,
                                                      std::int64_t most, std::size_t longestLine) {
    std::int64_t count = 0;
    std::size_t lineStart = 0;
    std::uint64_t crBefore = 0;
    for (std::size_t i = 0; i < size; i += 64) {
        TerminatorBits bits;
        if (size - i >= 64) {
            bits = bitsOf(data + i);
        } else {
            char tail[64] = {};
            std::memcpy(tail, data + i, size - i);
            bits = bitsOf(tail);
        }
        // A set bit where an LF lacks its CR, or a CR (the byte before) its LF: the lines end
        // before the first.
        const std::uint64_t unpaired = ((bits.cr << 1) | crBefore) ^ bits.lf;
        const std::uint64_t ends =
            unpaired == 0 ? bits.lf
                          : bits.lf & ((std::uint64_t{1} << __builtin_ctzll(unpaired)) - 1);
        if (ends != 0) {
            const std::size_t firstEnd = i + static_cast<std::size_t>(__builtin_ctzll(ends));
            if (firstEnd - 1 - lineStart > longestLine)
                break;
            const int found = __builtin_popcountll(ends);
            if (count + found >= most) {
                lineStart = i + static_cast<std::size_t>(nthSetBit(ends, most - count)) + 1;
                count = most;
                break;
            }
            count += found;
            lineStart = i + static_cast<std::size_t>(63 - __builtin_clzll(ends)) + 1;
        }
        if (unpaired != 0)
            break;
        crBefore = bits.cr >> 63;
    }
    return {{data, lineStart}, count};
}

#if defined(__x86_64__)
__attribute__((target("avx2"))) CrLfLines avx2CrLfLines(const char* data, std::size_t size,
                                                        std::int64_t most,
                                                        std::size_t longestLine) {
    return scanCrLfLines<avx2TerminatorBits>(data, size, most, longestLine);
}
#endif

}  // namespace

std::string_view CrLfLines::lastLine() const {
    const std::string_view withoutEnd = bytes.substr(0, bytes.size() - 2);
    const std::size_t previousEnd = withoutEnd.rfind('\n');
    return previousEnd == std::string_view::npos ? withoutEnd : withoutEnd.substr(previousEnd + 1);
}

CrLfLines leadingCrLfLines(const char* data, std::size_t size, std::int64_t most,
                           std::size_t longestLine) {
    if (most <= 0)
        return {};
#if defined(__x86_64__)
    if (hasAvx2())
        return avx2CrLfLines(data, size, most, longestLine);
#endif
    return scanCrLfLines<portableTerminatorBits>(data, size, most, longestLine);
}

}  // namespace at
