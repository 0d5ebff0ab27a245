// The shape of a 64-byte block of UTF-8, read from byte masks instead of
// byte by byte: where its two- and three-byte characters start, proven
// well-formed for the whole block at once. The encoders that turn UTF-8 into
// two-byte codes use it to walk only the non-ASCII characters of a block,
// copying the ASCII between them in fixed-size pieces; a block whose shape
// is not proven goes to their character-by-character loops, which make
// every decision about it.
#ifndef CHARSETKIT_SRC_UTILITIES_UTF8BLOCKSHAPE_H
#define CHARSETKIT_SRC_UTILITIES_UTF8BLOCKSHAPE_H

#include "utilities/ByteSink.h"
#include "utilities/PairRuns.h"
#include "utilities/VectorScan.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

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

struct Utf8BlockShape {
    /// The bytes of the block taken: 64, or the start of a character that
    /// runs past the block's end (62 or 63), which the next block reads.
    unsigned length;
    /// The lead bytes of the characters of two and three bytes among them.
    std::uint64_t leads;
    /// The lead bytes of the three-byte characters among them.
    std::uint64_t threeByteLeads;
    /// The leads among those that may be an overlong form or start four
    /// bytes or more (E0, F0-FF): the others are well-formed characters.
    std::uint64_t unusualLeads;
};

/// Reads the 64 bytes at `p` (a character starts at p[0]) and returns true
/// when the first shape.length of them are only bytes below 0x80 (not
/// 0x0E-0x1B unless `controlsAreText`: ESC, SO and SI, and the rare
/// controls between them, leave the block to the character loops), and
/// characters of a lead byte and its continuations 80-BF: one after C0-DF,
/// two after E0-FF. The few lead bytes that this shape lets through but no
/// well-formed character has (C0, C1, F0-FF, and E0 before 80-9F) give
/// values that decodeUtf8At rejects, so that one byte range test per
/// character replaces further masks; shape.unusualLeads marks the three-byte
/// leads among them, so that a block without any needs no test at all.
/// False when any of those bytes is anything else: the shape says nothing
/// then.
inline bool readUtf8BlockShape(vector::Level level, const unsigned char* p, bool controlsAreText,
                               Utf8BlockShape& shape) {
    std::uint64_t classes[5] = {0, 0, 0, 0, 0};
    vector::utf8Classes64(level, p, classes);
    const std::uint64_t continuations = classes[0];
    const std::uint64_t twoByte = classes[1];
    const std::uint64_t threeByte = classes[2];
    const std::uint64_t controls = controlsAreText ? 0 : classes[3];

    // A character that starts in the last two bytes may run past the block:
    // the block ends before the first such start.
    constexpr std::uint64_t kLast = std::uint64_t{1} << 63;
    constexpr std::uint64_t kLastTwo = std::uint64_t{3} << 62;
    const std::uint64_t crossing = (twoByte & kLast) | (threeByte & kLastTwo);
    const unsigned length = crossing != 0 ? lowestBit(crossing) : 64u;
    const std::uint64_t taken = length == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << length) - 1;

    // The continuations taken are exactly those that the leads taken call
    // for (none past the block); every other byte is below 0x80.
    const std::uint64_t twoTaken = twoByte & taken;
    const std::uint64_t threeTaken = threeByte & taken;
    const std::uint64_t expected = (twoTaken << 1) | (threeTaken << 1) | (threeTaken << 2);
    if (((continuations & taken) ^ expected) != 0 || (controls & taken) != 0) {
        return false;
    }
    shape.length = length;
    shape.leads = twoTaken | threeTaken;
    shape.threeByteLeads = threeTaken;
    shape.unusualLeads = classes[4] & threeTaken;
    return true;
}

/// The code point of the character at `c` whose lead byte a block shape
/// reports (`three` when among its three-byte leads), or false when it is
/// not a well-formed character of the Basic Multilingual Plane: an overlong
/// form, or a lead of four bytes or more. Surrogates pass, as the callers'
/// tables give them no code. Reads c[0] to c[2] in either case.
inline bool decodeUtf8At(const unsigned char* c, bool three, std::uint32_t& codePoint) {
    const std::uint32_t t = three ? 1u : 0u;
    // A three-byte lead keeps bit 4, so that F0-FF give 0x10000 and above.
    const std::uint32_t lead = c[0] & 0x1Fu;
    const std::uint32_t first = c[1] & 0x3Fu;
    const std::uint32_t second = c[2] & 0x3Fu & (0u - t);
    // Without branches: the third byte's six bits come in only for three.
    codePoint = (lead << 6 | first) << (6 * t) | second;
    const std::uint32_t lowest = 0x80u << (4 * t);
    return codePoint - lowest <= 0xFFFFu - lowest;
}

/// Writes at `p` the two-byte codes of the characters of a block whose shape
/// was read, each as codeOf(c >> 6, c & 63) for its code point c gives it
/// (first byte in bits 8-15, 0 for none), with the bytes between them copied
/// as they are; `p` ends after the last byte written. Returns the block's
/// offset of the first character without a code (the bytes before it
/// written), or shape.length when all of them have one.
template <typename CodeOf>
inline unsigned writeBlockCodes(const unsigned char* block, const Utf8BlockShape& shape, char*& p,
                                CodeOf codeOf) {
    char* out = p;
    unsigned from = 0; // the start of the bytes not yet written
    std::uint64_t leads = shape.leads;
    const auto put = [&out](std::uint32_t code) {
        out[0] = static_cast<char>(code >> 8 & 0xFFu);
        out[1] = static_cast<char>(code & 0xFFu);
        out += 2;
    };
    if (leads == shape.threeByteLeads && shape.unusualLeads == 0) {
        // Well-formed three-byte characters only, as in most text of the
        // languages these encodings are for: the lead's low bits and the
        // first continuation are the code point's high ten bits, and the
        // second its low six.
        for (; leads != 0; leads &= leads - 1) {
            const unsigned k = lowestBit(leads);
            if (k != from) {
                out = copyGap(out, block + from, k - from);
            }
            const unsigned char* const c = block + k;
            // The lead's and continuations' fixed bits taken off by one
            // subtraction each (the code point's bits do not carry into
            // them), which the table reads fold into their addresses.
            const std::size_t high = (std::size_t{c[0]} << 6) + c[1] - (0xE0u << 6 | 0x80u);
            const std::uint32_t code = codeOf(high, std::size_t{c[2]} - 0x80u);
            if (code == 0) {
                p = out;
                return k;
            }
            put(code);
            from = k + 3;
        }
    } else {
        for (; leads != 0; leads &= leads - 1) {
            const unsigned k = lowestBit(leads);
            out = copyGap(out, block + from, k - from);
            const bool three = (shape.threeByteLeads >> k & 1u) != 0;
            std::uint32_t c = 0;
            const std::uint32_t code = decodeUtf8At(block + k, three, c)
                                           ? codeOf(std::size_t{c >> 6}, std::size_t{c & 63u})
                                           : 0;
            if (code == 0) {
                p = out;
                return k;
            }
            put(code);
            from = k + 2u + (three ? 1u : 0u);
        }
    }
    p = copyGap(out, block + from, shape.length - from);
    return shape.length;
}

// The encoders' block loops read 16 bytes past a block for their ASCII
// copies and the last byte of its last character, and write at most 64
// bytes per block plus 16 for the last copy.
constexpr std::size_t kBlockReach = 64 + 16;
constexpr std::ptrdiff_t kBlockRoom = 64 + 32;

/// The block loop of the encoders from UTF-8 into two-byte codes: whole
/// 64-byte blocks from input[i] on through the window `p` of `out`, each
/// character as writeBlockCodes writes it with `codeOf`. Returns the index
/// of the first byte not written. Stops at the first character without a
/// code, or at a block whose shape is not proven or that is ASCII alone
/// (which starts a run that the character loops copy faster, at vector
/// width and straight to the result), with `stop` at the end of that block;
/// or when fewer than kBlockReach bytes are left, with `stop` at the index
/// returned.
template <typename CodeOf>
std::size_t writeBlocks(vector::Level level, bool controlsAreText, const unsigned char* input,
                        std::size_t length, std::size_t i, std::size_t& stop, ByteSink& out,
                        char*& p, CodeOf codeOf) {
    stop = i;
    while (length - i >= kBlockReach) {
        p = out.roomFrom(p, kBlockRoom);
        const unsigned char* const block = input + i;
        Utf8BlockShape shape;
        if (!readUtf8BlockShape(level, block, controlsAreText, shape) || shape.leads == 0) {
            stop = i + 64;
            break;
        }
        const unsigned written = writeBlockCodes(block, shape, p, codeOf);
        if (written != shape.length) {
            i += written;
            stop = i + 64 - written;
            break;
        }
        i += shape.length;
        stop = i;
    }
    return i;
}

} // namespace detail
} // namespace charsetkit

#endif
