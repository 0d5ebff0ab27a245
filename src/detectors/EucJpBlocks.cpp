#include "detectors/EucJpBlocks.h"

#include <charsetkit/detectors/EucJpDetectorSM.h>

#include "detectors/EucJpStep.h"
#include "detectors/JapaneseDrivers.h"
#include "japanese/JisDirectTables.h"
#include "japanese/JisValidity.h"
#include "utilities/ByteSink.h"
#include "utilities/PairRuns.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace charsetkit {
namespace detail {
namespace eucjp {

namespace {

constexpr unsigned kBlock = 64;

// The masks of a block: pair bytes (0xA1-0xFE), bytes of 0x80-0xFF, SO and
// SI, ESC.
enum : int { kPairMask = 0, kHighMask = 1, kShiftMask = 2, kEscMask = 3 };
constexpr vector::ByteRanges kRanges = {{0xA1, 0x80, 0x0E, 0x1B}, {0xFE, 0xFF, 0x0F, 0x1B}, 4};

constexpr std::uint64_t kLastBit = std::uint64_t{1} << 63;

// 1 when the JIS X 0208 pair `lead`, `trail` (both 0xA1-0xFE) is mapped in
// `bitmap`, as eucPairMapped answers; 0 otherwise.
inline unsigned pairBit(const std::uint8_t* bitmap, unsigned char lead, unsigned char trail) {
    const unsigned row = static_cast<unsigned>(lead) - 0xA1u;
    const unsigned cell = static_cast<unsigned>(trail) - 0xA1u;
    return static_cast<unsigned>(bitmap[row * kJisMappedRowBytes + (cell >> 3)] >> (cell & 7u)) &
           1u;
}

} // namespace

bool verifyBlocks(vector::Level level, const unsigned char* bytes, unsigned int length,
                  bool verifyCharacters) {
    const std::uint8_t* const bitmap = jis0208Bitmap();
    unsigned int pos = 0;
    // Whether the block at `pos` opens on the trail of a pair whose lead
    // ended the block before.
    bool trailIn = false;
    while (length - pos >= kBlock) {
        std::uint64_t masks[4];
        vector::rangeMasks64(level, bytes + pos, kRanges, masks);
        const std::uint64_t pair = masks[kPairMask];
        // ESC, SO and SI fail in every state of the machine.
        if ((masks[kShiftMask] | masks[kEscMask]) != 0) {
            return false;
        }
        if ((masks[kHighMask] & ~pair) != 0) {
            break; // 0x8E, 0x8F or a byte no character starts with
        }
        // The machine stands between characters or after a lead here, and
        // every byte is plain ASCII or a pair byte: a lead must be followed
        // by a pair byte.
        if (trailIn && (pair & 1u) == 0) {
            return false;
        }
        const std::uint64_t leads = pairLeads(pair, trailIn);
        const std::uint64_t inside = leads & ~kLastBit; // trail in this block
        if ((inside & ~(pair >> 1)) != 0) {
            return false;
        }
        if (verifyCharacters) {
            unsigned unmapped = 0;
            if (trailIn) {
                unmapped |= pairBit(bitmap, bytes[pos - 1], bytes[pos]) ^ 1u;
            }
            for (std::uint64_t m = inside; m != 0; m &= m - 1) {
                const unsigned k = pos + lowestBit(m);
                unmapped |= pairBit(bitmap, bytes[k], bytes[k + 1]) ^ 1u;
            }
            if (unmapped != 0) {
                return false;
            }
        }
        trailIn = (leads & kLastBit) != 0;
        pos += kBlock;
    }
    // Every state between characters reads the next byte alike, so a fresh
    // machine reads on exactly from the start of a character.
    const unsigned int from = trailIn ? pos - 1 : pos;
    EucJpDetectorSM machine;
    return runJapaneseStatelessFast(machine, reinterpret_cast<const char*>(bytes) + from,
                                    length - from, verifyCharacters);
}

unsigned int convertBlocks(vector::Level level, EucJpDetectorSM& machine,
                           const unsigned char* bytes, unsigned int i, unsigned int length,
                           ByteSink& out) {
    // The gap copies read up to 15 bytes past a block.
    constexpr unsigned kReach = kBlock + 16;
    // A block writes at most 96 bytes (a pair of two bytes gives three), and
    // the fixed-size stores reach 15 bytes further.
    constexpr std::ptrdiff_t kRoom = 96 + 16;
    if (length - i < kReach) {
        return i;
    }
    char* p = out.window();
    while (length - i >= kReach) {
        p = out.roomFrom(p, kRoom);
        const unsigned char* const in = bytes + i;
        std::uint64_t masks[4];
        vector::rangeMasks64(level, in, kRanges, masks);
        if ((masks[kHighMask] | masks[kShiftMask] | masks[kEscMask]) == 0) {
            // A block of plain ASCII: the whole run it opens is appended
            // straight from the input, as the byte loop does.
            out.commit(p);
            i += static_cast<unsigned int>(out.copyPlainAscii(in, length - i));
            p = out.window();
            machine.m_state = SingleByte;
            machine.m_inChar = false;
            continue;
        }
        const std::uint64_t pair = masks[kPairMask];
        // The block starts a character, so its pairs start where pairLeads
        // says. A lead in the last byte waits for the next block.
        const std::uint64_t leads = pairLeads(pair, false);
        const std::uint64_t edgeLead = leads & kLastBit;
        const std::uint64_t stops = ((leads & ~(pair >> 1)) ^ edgeLead) | masks[kShiftMask] |
                                    masks[kEscMask] | (masks[kHighMask] & ~pair);
        const unsigned limit = stops != 0 ? lowestBit(stops) : edgeLead != 0 ? kBlock - 1 : kBlock;
        const std::uint64_t taken =
            limit == kBlock ? leads : leads & ((std::uint64_t{1} << limit) - 1u);
        unsigned end = limit; // where this block's characters end
        unsigned prev = 0;    // after the last pair written
        bool anyPair = false;
        for (std::uint64_t m = taken; m != 0; m &= m - 1) {
            const unsigned k = lowestBit(m);
            // Row and cell from 0, the offsets folded into the table read.
            const std::uint32_t packed =
                kJis0208Utf8[std::size_t{in[k]} * 94 + in[k + 1] - (0xA1u * 94 + 0xA1u)];
            if (packed == 0) {
                end = k; // a code page 932 extension or an unmapped code
                break;
            }
            // Pairs mostly follow one another: the gap copy only where
            // there is a gap.
            if (k != prev) {
                p = copyGap(p, in + prev, k - prev);
            }
            p = ByteSink::storePacked(p, packed);
            prev = k + 2;
            anyPair = true;
        }
        p = copyGap(p, in + prev, end - prev);
        if (end != 0) {
            if (anyPair) {
                machine.m_firstByte = in[prev - 2];
                machine.m_confirmed = true;
            }
            machine.m_state = prev == end && anyPair ? Jis0208 : SingleByte;
            machine.m_inChar = false;
        }
        i += end;
        if (stops != 0 || end != limit) {
            break;
        }
    }
    out.commit(p);
    return i;
}

} // namespace eucjp
} // namespace detail
} // namespace charsetkit
