// The bit arithmetic of the scans that read text in 64-byte blocks, and
// where the two-byte characters of a block start, in encodings
// whose lead bytes can also be trail bytes (Shift_JIS, EUC-JP): within a
// run of bytes that can start a pair, characters alternate lead and trail
// from the run's first byte, which follows either a one-byte character or a
// trail byte and so always starts a character. A run is thus read from its
// start in pairs, and the block's leads follow from the parity of each
// run's first position.
#ifndef CHARSETKIT_SRC_UTILITIES_PAIRRUNS_H
#define CHARSETKIT_SRC_UTILITIES_PAIRRUNS_H

#include <cstdint>
#include <cstring>

namespace charsetkit {
namespace detail {

/// The index of the lowest set bit of `mask`, which is not 0.
inline unsigned lowestBit(std::uint64_t mask) {
#if defined(__GNUC__) || defined(__clang__)
    return static_cast<unsigned>(__builtin_ctzll(mask));
#else
    unsigned k = 0;
    while ((mask >> k & 1u) == 0) {
        ++k;
    }
    return k;
#endif
}

/// The index of the highest set bit of `mask`, which is not 0.
inline unsigned highestBit(std::uint64_t mask) {
#if defined(__GNUC__) || defined(__clang__)
    return 63u - static_cast<unsigned>(__builtin_clzll(mask));
#else
    unsigned k = 63;
    while ((mask >> k & 1u) == 0) {
        --k;
    }
    return k;
#endif
}

/// The bits below bit `k` (0 to 64).
inline std::uint64_t bitsBelow(unsigned k) {
    return k >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << k) - 1u;
}

/// Copies the `n` bytes at `from` (n <= 64) 16 at a time, the
/// first 16 even when n is 0, so that the short gaps between characters take
/// no branch; up to 16 bytes more are read and written, and the next writes
/// cover them.
inline char* copyGap(char* p, const unsigned char* from, unsigned n) {
    std::memcpy(p, from, 16);
    for (unsigned k = 16; k < n; k += 16) {
        std::memcpy(p + k, from + k, 16);
    }
    return p + n;
}

/// Given bit k of `capable` set when byte k of a block may be a lead byte,
/// and `firstIsTrail` true when byte 0 completes a pair that the previous
/// block's last byte began, returns the mask of the bytes that are lead
/// bytes when the block is read character by character. Byte k + 1 is the
/// trail of lead k; the next block's byte 0 is a trail when bit 63 is set.
inline std::uint64_t pairLeads(std::uint64_t capable, bool firstIsTrail) {
    constexpr std::uint64_t kEven = 0x5555555555555555ull;
    const std::uint64_t c = firstIsTrail ? capable & ~std::uint64_t{1} : capable;
    const std::uint64_t starts = c & ~(c << 1);
    // Adding a bit at a run's first byte clears the run: the carry runs to
    // the byte after it, which is not in `c`. Other runs keep their bits.
    const std::uint64_t evenRuns = c & ~(c + (starts & kEven));
    const std::uint64_t oddRuns = c & ~evenRuns;
    return (evenRuns & kEven) | (oddRuns & ~kEven);
}

} // namespace detail
} // namespace charsetkit

#endif
