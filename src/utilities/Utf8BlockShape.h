// The shape of a 64-byte block of UTF-8, read from byte masks instead of
// byte by byte: where its two- and three-byte characters start, proven
// well-formed for the whole block at once. The encoders that turn UTF-8 into
// two-byte codes use it to walk only the non-ASCII characters of a block,
// copying the ASCII between them in fixed-size pieces; a block whose shape
// is not proven goes to their character-by-character loops, which make
// every decision about it.
#ifndef CHARSETKIT_SRC_UTILITIES_UTF8BLOCKSHAPE_H
#define CHARSETKIT_SRC_UTILITIES_UTF8BLOCKSHAPE_H

#include "utilities/VectorScan.h"

#include <cstdint>

namespace charsetkit {
namespace detail {

/// How a conversion reads its input: in 64-byte blocks at a vector level,
/// or character by character only (the plain twin that tests compare the
/// blocks with).
struct BlockScan {
    bool blocks;
    vector::Level level;

    static BlockScan best() { return {true, vector::bestLevel()}; }
    static BlockScan at(vector::Level level) { return {true, level}; }
    static BlockScan byCharacter() { return {false, vector::kPlain}; }
};

/// The index of the lowest set bit of `v`, which is not 0.
inline unsigned lowestBit(std::uint64_t v) {
#if defined(__GNUC__) || defined(__clang__)
    return static_cast<unsigned>(__builtin_ctzll(v));
#else
    unsigned n = 0;
    while ((v & 1u) == 0) {
        v >>= 1;
        ++n;
    }
    return n;
#endif
}

struct Utf8BlockShape {
    /// The bytes of the block taken: 64, or the start of a character that
    /// runs past the block's end (62 or 63), which the next block reads.
    unsigned length;
    /// The lead bytes of the two- and three-byte characters among them.
    std::uint64_t leads;
    /// The lead bytes of the three-byte characters among them.
    std::uint64_t threeByteLeads;
};

/// Reads the 64 bytes at `p` (a character starts at p[0]) and returns true
/// when the first shape.length of them are only: bytes below 0x80 (ESC, SO
/// and SI only when `controlsAreText`), a lead C2-DF followed by one
/// continuation 80-BF, or a lead E0-EF followed by two continuations, the
/// first of them A0-BF after E0. False when any of those bytes is anything
/// else: the shape says nothing then.
inline bool readUtf8BlockShape(vector::Level level, const unsigned char* p, bool controlsAreText,
                               Utf8BlockShape& shape) {
    static constexpr vector::ByteRanges kClasses = {
        {0x00, 0x80, 0xC2, 0xE0}, {0x7F, 0xBF, 0xDF, 0xEF}, 4};
    // E0 and the continuations that would make it overlong; ESC, SO, SI.
    static constexpr vector::ByteRanges kExceptions = {
        {0xE0, 0x80, 0x0E, 0x1B}, {0xE0, 0x9F, 0x0F, 0x1B}, 4};
    std::uint64_t classes[4];
    std::uint64_t exceptions[4];
    vector::rangeMasks64(level, p, kClasses, classes);
    vector::rangeMasks64(level, p, kExceptions, exceptions);
    const std::uint64_t ascii = classes[0];
    const std::uint64_t continuations = classes[1];
    const std::uint64_t twoByte = classes[2];
    const std::uint64_t threeByte = classes[3];

    // A character that starts in the last two bytes may run past the block:
    // the block ends before the first such start.
    constexpr std::uint64_t kLast = std::uint64_t{1} << 63;
    constexpr std::uint64_t kLastTwo = std::uint64_t{3} << 62;
    const std::uint64_t crossing = (twoByte & kLast) | (threeByte & kLastTwo);
    const unsigned length = crossing != 0 ? lowestBit(crossing) : 64u;
    const std::uint64_t taken = length == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << length) - 1;

    // Every byte taken is in a class, and the continuations taken are
    // exactly those that the leads taken call for (none past the block).
    const std::uint64_t twoTaken = twoByte & taken;
    const std::uint64_t threeTaken = threeByte & taken;
    const std::uint64_t expected = (twoTaken << 1) | (threeTaken << 1) | (threeTaken << 2);
    std::uint64_t wrong = ~(ascii | continuations | twoByte | threeByte);
    wrong |= (exceptions[0] << 1) & exceptions[1];
    if (!controlsAreText) {
        wrong |= exceptions[2] | exceptions[3];
    }
    if ((wrong & taken) != 0 || ((continuations & taken) ^ expected) != 0) {
        return false;
    }
    shape.length = length;
    shape.leads = twoTaken | threeTaken;
    shape.threeByteLeads = threeTaken;
    return true;
}

} // namespace detail
} // namespace charsetkit

#endif
