#pragma once

// Looking at eight bytes of a text in one step, for scans over long texts
// and many short fields where a library search per hit costs more than the
// bytes themselves. The words are read in the machine's order; where that
// is not little-endian, the callers fall back to plain loops.

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace tessaly {

inline constexpr bool kWordScan = std::endian::native == std::endian::little;

// The eight bytes of text at pos, byte pos in the lowest bits.
inline uint64_t WordAt(std::string_view text, std::size_t pos)
{
    uint64_t word = 0;
    std::memcpy(&word, text.data() + pos, sizeof word);
    return word;
}

// The bytes of word equal to c: the high bit of each such byte set, all
// other bits clear (exact: no carry crosses from one byte to the next).
constexpr uint64_t ByteMatches(uint64_t word, unsigned char c)
{
    constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    const uint64_t t = word ^ (0x0101010101010101ULL * c);
    return ~(((t & kLow7) + kLow7) | t | kLow7);
}

// The byte index (0-7) of the lowest match in a non-zero ByteMatches mask.
constexpr std::size_t FirstMatch(uint64_t matches)
{
    return static_cast<std::size_t>(std::countr_zero(matches)) / 8;
}

} // namespace tessaly
