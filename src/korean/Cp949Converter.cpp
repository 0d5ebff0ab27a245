#include "korean/Cp949Converter.h"

#include "korean/Cp949Tables.h"
#include "utilities/ByteSink.h"
#include "utilities/Utf8BlockShape.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>
#include <utility>

namespace charsetkit {

namespace {

// Writes the ASCII byte at input[i] and the run of plain ASCII it starts,
// through the window `p` of `out`, and advances `i` past them. ESC, SO and SI
// are ASCII here as well, written one at a time.
void copyAscii(const unsigned char* input, std::size_t length, std::size_t& i,
               detail::ByteSink& out, char*& p) {
    if (detail::isPlainAscii(input[i])) {
        i += out.putPlainAscii(p, input + i, length - i);
        return;
    }
    if (p == out.windowEnd()) {
        out.commit(p);
        p = out.window();
    }
    *p++ = static_cast<char>(input[i++]);
}

// The code of `c` (lead * 256 + trail), 0 when it has none; c < 0x10000.
std::uint32_t codeOf(std::uint32_t c) {
    const std::uint32_t block = cp949::kUnicodeToCp949Index[c >> cp949::kBlockBits];
    return cp949::kUnicodeToCp949Blocks[block * cp949::kBlockSize + (c & (cp949::kBlockSize - 1))];
}

bool isContinuation(unsigned char b) {
    return (b & 0xC0u) == 0x80u;
}

// Decodes the well-formed UTF-8 character of two to four bytes that starts
// at input[i] (whose lead byte is 0x80 or above) into `c` and its length;
// false when the bytes there are not one.
bool decodeUtf8(const unsigned char* input, std::size_t length, std::size_t i, std::uint32_t& c,
                std::size_t& size) {
    const unsigned char lead = input[i];
    const std::size_t left = length - i;
    if (lead >= 0xC2 && lead <= 0xDF) {
        if (left < 2 || !isContinuation(input[i + 1])) {
            return false;
        }
        c = (lead & 0x1Fu) << 6 | (input[i + 1] & 0x3Fu);
        size = 2;
        return true;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (left < 3 || !isContinuation(input[i + 1]) || !isContinuation(input[i + 2])) {
            return false;
        }
        // E0 80-9F would be overlong, ED A0-BF a surrogate.
        if ((lead == 0xE0 && input[i + 1] < 0xA0) || (lead == 0xED && input[i + 1] >= 0xA0)) {
            return false;
        }
        c = (lead & 0x0Fu) << 12 | (input[i + 1] & 0x3Fu) << 6 | (input[i + 2] & 0x3Fu);
        size = 3;
        return true;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (left < 4 || !isContinuation(input[i + 1]) || !isContinuation(input[i + 2]) ||
            !isContinuation(input[i + 3])) {
            return false;
        }
        // F0 80-8F would be overlong, F4 90-BF above U+10FFFF.
        if ((lead == 0xF0 && input[i + 1] < 0x90) || (lead == 0xF4 && input[i + 1] >= 0x90)) {
            return false;
        }
        c = (lead & 0x07u) << 18 | (input[i + 1] & 0x3Fu) << 12 | (input[i + 2] & 0x3Fu) << 6 |
            (input[i + 3] & 0x3Fu);
        size = 4;
        return true;
    }
    return false;
}

bool isLanguageTag(std::uint32_t c) {
    return c >= 0xE0000u && c <= 0xE007Fu;
}

// The code point of lead/trail, 0 when the pair is no character.
std::uint32_t codePointOf(unsigned lead, unsigned trail) {
    if (lead < cp949::kLeadFirst || lead == 0xFF || trail < cp949::kTrailFirst || trail == 0xFF) {
        return 0;
    }
    return cp949::kCp949ToUnicode[(lead - cp949::kLeadFirst) * cp949::kColumns +
                                  (trail - cp949::kTrailFirst)];
}

// Writes code point c (0x80-0xFFFF, as the table holds) as UTF-8 at `p`,
// which has room for three bytes, and returns where the next byte goes.
char* putUtf8(char* p, std::uint32_t c) {
    if (c < 0x800u) {
        p[0] = static_cast<char>(0xC0u | c >> 6);
        p[1] = static_cast<char>(0x80u | (c & 0x3Fu));
        return p + 2;
    }
    p[0] = static_cast<char>(0xE0u | c >> 12);
    p[1] = static_cast<char>(0x80u | (c >> 6 & 0x3Fu));
    p[2] = static_cast<char>(0x80u | (c & 0x3Fu));
    return p + 3;
}

// Decodes the characters that start from input[i] up to `stop`, one at a
// time, through the window `p` of `out`; false when one of them is no
// character.
bool decodeCharacters(const unsigned char* input, std::size_t length, std::size_t& i,
                      std::size_t stop, detail::ByteSink& out, char*& p) {
    char* const end = out.windowEnd();
    while (i < stop) {
        const unsigned char lead = input[i];
        if (lead < 0x80) {
            copyAscii(input, length, i, out, p);
            continue;
        }
        if (length - i < 2) {
            return false;
        }
        const std::uint32_t c = codePointOf(lead, input[i + 1]);
        if (c == 0) {
            return false;
        }
        i += 2;
        if (end - p < 3) {
            out.commit(p);
            p = out.window();
        }
        p = putUtf8(p, c);
    }
    return true;
}

// The block decoder reads 16 bytes past a block for its ASCII copies, and
// writes at most 96 bytes per block (32 characters of three bytes) and 16
// more for the last copy.
constexpr std::size_t kDecodeReach = 64 + 16;
constexpr std::ptrdiff_t kDecodeRoom = 96 + 16;

// Decodes whole 64-byte blocks of ASCII and mapped two-byte characters
// (a block that ends with a lead byte up to that lead): every byte of 0x80
// or more at the start of a character is a lead and the byte after it its
// trail, so the leads follow from the mask of those bytes, and the ASCII
// before each character is copied in fixed-size pieces. False at a pair
// that is no character, which fails the conversion. Otherwise stops at a
// block of ASCII alone, which starts a run that the character loop copies
// faster, with `stop` at its end, or when fewer than kDecodeReach bytes are
// left, with `stop` at `i`.
bool decodeBlocks(detail::vector::Level level, const unsigned char* input, std::size_t length,
                  std::size_t& i, std::size_t& stop, detail::ByteSink& out, char*& p) {
    static constexpr detail::vector::ByteRanges kHigh = {{0x80, 0, 0, 0}, {0xFF, 0, 0, 0}, 1};
    stop = i;
    while (length - i >= kDecodeReach) {
        p = out.roomFrom(p, kDecodeRoom);
        const unsigned char* const block = input + i;
        std::uint64_t high[4] = {0, 0, 0, 0};
        detail::vector::rangeMasks64(level, block, kHigh, high);
        if (high[0] == 0) {
            stop = i + 64;
            return true;
        }
        const std::uint64_t leads = detail::pairLeads(high[0], false);
        // A lead in the last byte waits for the next block, its trail there.
        const unsigned taken = (leads >> 63) != 0 ? 63u : 64u;
        unsigned from = 0; // the start of the bytes not yet written
        for (std::uint64_t rest = leads & detail::bitsBelow(taken); rest != 0; rest &= rest - 1) {
            const unsigned k = detail::lowestBit(rest);
            const std::uint32_t c = codePointOf(block[k], block[k + 1]);
            if (c == 0) {
                return false;
            }
            // Characters mostly follow one another: the gap copy only where
            // there is a gap.
            if (k != from) {
                p = detail::copyGap(p, block + from, k - from);
            }
            p = putUtf8(p, c);
            from = k + 2;
        }
        p = detail::copyGap(p, block + from, taken - from);
        i += taken;
        stop = i;
    }
    return true;
}

} // namespace

bool Cp949Converter::eucKrToUtf8(const unsigned char* input, std::size_t length,
                                 std::string& output) const {
    return eucKrToUtf8(input, length, output, detail::BlockScan::best());
}

bool Cp949Converter::eucKrToUtf8(const unsigned char* input, std::size_t length,
                                 std::string& output, detail::BlockScan scan) const {
    // A two-byte character becomes two or three bytes of UTF-8 and a single
    // byte stays one byte, so length * 1.5 is enough at once.
    if (length > std::numeric_limits<std::size_t>::max() / 2) {
        return false;
    }
    try {
        std::string converted;
        detail::ByteSink out(converted, length + length / 2);
        // The write position stays in `p` (see ByteSink::window()).
        char* p = out.window();
        std::size_t i = 0;
        // Whole blocks first; where a block holds something they leave
        // alone, the character loop takes over to the block's end.
        if (scan.blocks) {
            while (length - i >= kDecodeReach) {
                std::size_t stop = i;
                if (!decodeBlocks(scan.level, input, length, i, stop, out, p) ||
                    (i < stop && !decodeCharacters(input, length, i, stop, out, p))) {
                    return false;
                }
            }
        }
        if (!decodeCharacters(input, length, i, length, out, p)) {
            return false;
        }
        out.commit(p);
        out.flush();
        output = std::move(converted);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
}

namespace {

// Encodes the characters that start from input[i] up to `stop`, one at a
// time, through the window `p` of `out`; false when one of them fails the
// conversion.
bool encodeCharacters(const unsigned char* input, std::size_t length, std::size_t& i,
                      std::size_t stop, detail::ByteSink& out, char*& p) {
    char* const end = out.windowEnd();
    while (i < stop) {
        if (input[i] < 0x80) {
            copyAscii(input, length, i, out, p);
            continue;
        }
        std::uint32_t c = 0;
        std::size_t size = 0;
        if (!decodeUtf8(input, length, i, c, size)) {
            return false;
        }
        i += size;
        if (c >= 0x10000u) {
            if (isLanguageTag(c)) {
                continue;
            }
            return false;
        }
        const std::uint32_t code = codeOf(c);
        if (code == 0) {
            return false;
        }
        if (end - p < 2) {
            out.commit(p);
            p = out.window();
        }
        p[0] = static_cast<char>(code >> 8 & 0xFFu);
        p[1] = static_cast<char>(code & 0xFFu);
        p += 2;
    }
    return true;
}

} // namespace

bool Cp949Converter::utf8ToEucKr(const unsigned char* input, std::size_t length,
                                 std::string& output) const {
    return utf8ToEucKr(input, length, output, detail::BlockScan::best());
}

bool Cp949Converter::utf8ToEucKr(const unsigned char* input, std::size_t length,
                                 std::string& output, detail::BlockScan scan) const {
    // Every character with a code takes at least as many bytes in UTF-8 as
    // its code, so the output is never longer than the input.
    try {
        std::string converted;
        detail::ByteSink out(converted, length);
        // The write position stays in `p` (see ByteSink::window()).
        char* p = out.window();
        std::size_t i = 0;
        // Whole blocks first; where a block holds something they leave
        // alone, the character loop takes over to the block's end.
        if (scan.blocks) {
            while (length - i >= detail::kBlockReach) {
                std::size_t stop = i;
                i = detail::writeBlocks(
                    scan.level, true, input, length, i, stop, out, p,
                    [](std::size_t high, std::size_t low) {
                        const std::size_t index = cp949::kUnicodeToCp949Index[high];
                        return static_cast<std::uint32_t>(
                            cp949::kUnicodeToCp949Blocks[index * cp949::kBlockSize + low]);
                    });
                if (i < stop && !encodeCharacters(input, length, i, stop, out, p)) {
                    return false;
                }
            }
        }
        if (!encodeCharacters(input, length, i, length, out, p)) {
            return false;
        }
        out.commit(p);
        out.flush();
        output = std::move(converted);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
}

} // namespace charsetkit
