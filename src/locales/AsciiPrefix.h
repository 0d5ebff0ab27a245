// The plain ASCII prefix of a buffer: the bytes before the first one that is
// 0x80 or above or is one of the ISO-2022 shift bytes ESC (0x1B), SO (0x0E)
// and SI (0x0F). Detection shows the machines only what follows it, and a
// buffer that is all prefix is plain ASCII text.
#ifndef CHARSETKIT_SRC_LOCALES_ASCIIPREFIX_H
#define CHARSETKIT_SRC_LOCALES_ASCIIPREFIX_H

#include <cstdint>
#include <cstring>

namespace charsetkit {
namespace detail {

/// True for a byte that ends the plain ASCII prefix.
inline bool endsAsciiPrefix(unsigned char byte) {
    return byte >= 0x80 || byte == 0x1B || byte == 0x0E || byte == 0x0F;
}

/// True when some byte of `word` is zero. Exact as to whether one exists (not
/// as to which), provided every byte of `word` is below 0x80.
inline bool hasZeroByte(std::uint64_t word) {
    constexpr std::uint64_t ones = 0x0101010101010101u;
    constexpr std::uint64_t highs = 0x8080808080808080u;
    return ((word - ones) & ~word & highs) != 0;
}

/// Length of the plain ASCII prefix of the `length` bytes at `buffer`.
///
/// Eight bytes at a time while a whole word is plain; the word that holds the
/// first other byte is then read again byte by byte, which alone decides the
/// position. The word loads go through memcpy, so alignment does not matter,
/// and they never reach past `buffer + length`.
inline unsigned int plainAsciiPrefixLength(const char* buffer, unsigned int length) {
    constexpr std::uint64_t ones = 0x0101010101010101u;
    constexpr std::uint64_t highs = 0x8080808080808080u;
    constexpr std::uint64_t escBytes = ones * 0x1Bu;
    constexpr std::uint64_t shiftBytes = ones * 0x0Eu;
    unsigned int pos = 0;
    while (length - pos >= 8) {
        std::uint64_t word;
        std::memcpy(&word, buffer + pos, sizeof word);
        if ((word & highs) != 0) {
            break;
        }
        // Every byte is now below 0x80. ESC turns into a zero byte under the
        // first XOR; SO and SI (0x0E, 0x0F) under the second, once their low
        // bit is masked off.
        if (hasZeroByte(word ^ escBytes) || hasZeroByte((word & ~ones) ^ shiftBytes)) {
            break;
        }
        pos += 8;
    }
    while (pos < length && !endsAsciiPrefix(static_cast<unsigned char>(buffer[pos]))) {
        ++pos;
    }
    return pos;
}

} // namespace detail
} // namespace charsetkit

#endif
