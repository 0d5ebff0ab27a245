// Byte scans at vector width. Each scan exists at several levels: the plain
// byte loop, SSE2 and AVX2 on x86-64, NEON on AArch64. The level used by
// default is the best one the processor offers, found on the first call and
// kept in a relaxed atomic; every level that was compiled can also be called
// by name, so that each can be compared with the plain loop on any machine
// that runs it. Vector loads never reach outside [p, p + n).
#ifndef CHARSETKIT_SRC_UTILITIES_VECTORSCAN_H
#define CHARSETKIT_SRC_UTILITIES_VECTORSCAN_H

#include <cstddef>
#include <cstdint>

namespace charsetkit {
namespace detail {
namespace vector {

enum Level : int {
    kPlain = 1, ///< one byte (or one 64-bit word) at a time
    kSse2 = 2,  ///< 16 bytes per step (x86-64)
    kAvx2 = 3,  ///< 32 bytes per step (x86-64)
    kNeon = 4,  ///< 16 bytes per step (AArch64)
};

/// True when `level` was compiled in and this processor can run it.
bool isAvailable(Level level);

/// The level the scans below use when none is named.
Level bestLevel();

/// The number of bytes at the start of [p, p + n) below 0x80 other than ESC,
/// SO and SI.
std::size_t plainAsciiRunLength(Level level, const unsigned char* p, std::size_t n);

/// The number of bytes at the start of [p, p + n) below `bound` (1..0x80).
std::size_t runBelow(Level level, const unsigned char* p, std::size_t n, unsigned char bound);

/// The length of a prefix of [p, p + n) that the UTF-8 machine, starting
/// between characters, reads without failing and ends between characters:
/// only plain ASCII and the one- to four-byte forms the machine accepts
/// (surrogates and values above U+10FFFF included). The answer is a length
/// the scan could prove, not necessarily the longest such prefix; the
/// machine continues from there.
std::size_t utf8CleanPrefix(Level level, const unsigned char* p, std::size_t n);

/// Up to four closed byte ranges [lo, hi] for rangeMasks64.
struct ByteRanges {
    unsigned char lo[4];
    unsigned char hi[4];
    int count; ///< 1 to 4
};

/// For the 64 bytes at `p` (all of them inside the caller's buffer): bit k of
/// masks[r] is set when p[k] lies in range r of `ranges`, for each of its
/// `count` ranges. The building block of the scans that step through
/// multi-byte text in whole blocks.
void rangeMasks64(Level level, const unsigned char* p, const ByteRanges& ranges,
                  std::uint64_t* masks);

/// rangeMasks64 for the byte classes of UTF-8: masks[0] 80-BF, masks[1]
/// C0-DF, masks[2] E0-FF, masks[3] the controls 0E-1B, and masks[4] the
/// leads among E0-FF that may start something other than a well-formed
/// three-byte character: E0 (overlong before 80-9F) and F0-FF.
void utf8Classes64(Level level, const unsigned char* p, std::uint64_t* masks);

inline void rangeMasks64(const unsigned char* p, const ByteRanges& ranges, std::uint64_t* masks) {
    rangeMasks64(bestLevel(), p, ranges, masks);
}

inline std::size_t plainAsciiRunLength(const unsigned char* p, std::size_t n) {
    return plainAsciiRunLength(bestLevel(), p, n);
}

inline std::size_t runBelow(const unsigned char* p, std::size_t n, unsigned char bound) {
    return runBelow(bestLevel(), p, n, bound);
}

inline std::size_t utf8CleanPrefix(const unsigned char* p, std::size_t n) {
    return utf8CleanPrefix(bestLevel(), p, n);
}

} // namespace vector
} // namespace detail
} // namespace charsetkit

#endif
