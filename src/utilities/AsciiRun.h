// Finding runs of plain ASCII quickly. "Plain" bytes are those below 0x80
// other than ESC (0x1B), SO (0x0E) and SI (0x0F): every machine treats them
// between characters as one-byte characters, and every shift-free text is
// mostly made of them. The scan only says how far the run goes; the machines
// still make every decision. Short runs (common between multi-byte
// characters) end within the first eight bytes and are found inline; longer
// ones continue at vector width.
#ifndef CHARSETKIT_SRC_UTILITIES_ASCIIRUN_H
#define CHARSETKIT_SRC_UTILITIES_ASCIIRUN_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "utilities/VectorScan.h"

namespace charsetkit {
namespace detail {

constexpr bool isPlainAscii(unsigned char b) {
    return b < 0x80 && b != 0x1B && b != 0x0E && b != 0x0F;
}

/// True when some byte of `v` is zero (exact, no false answers).
constexpr bool hasZeroByte(std::uint64_t v) {
    return ((v - 0x0101010101010101ull) & ~v & 0x8080808080808080ull) != 0;
}

/// True when all eight bytes of `v` are plain ASCII.
constexpr bool allPlainAscii(std::uint64_t v) {
    return (v & 0x8080808080808080ull) == 0 && !hasZeroByte(v ^ 0x1B1B1B1B1B1B1B1Bull) &&
           !hasZeroByte(v ^ 0x0E0E0E0E0E0E0E0Eull) && !hasZeroByte(v ^ 0x0F0F0F0F0F0F0F0Full);
}

/// The number of plain ASCII bytes at the start of the `n` bytes at `p`.
inline std::size_t plainAsciiRunLength(const unsigned char* p, std::size_t n) {
    if (n >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        if (allPlainAscii(word)) {
            return 8 + vector::plainAsciiRunLength(p + 8, n - 8);
        }
    }
    std::size_t i = 0;
    while (i < n && isPlainAscii(p[i])) {
        ++i;
    }
    return i;
}

/// The number of bytes below 0x80 (any of them) at the start of the `n`
/// bytes at `p`.
inline std::size_t asciiRunLength(const unsigned char* p, std::size_t n) {
    return vector::runBelow(p, n, 0x80);
}

} // namespace detail
} // namespace charsetkit

#endif
