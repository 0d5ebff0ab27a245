#include <charsetkit/detectors/SjisDetectorSM.h>

#include "utilities/MissingInput.h"

#include <charsetkit/japanese/JapaneseConversions.h>

#include "detectors/JapaneseOutput.h"
#include "detectors/SjisBlocks.h"
#include "detectors/SjisStep.h"
#include "japanese/JisDirectTables.h"
#include "utilities/ByteSink.h"
#include "utilities/PairRuns.h"
#include "utilities/Settings.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace charsetkit {

namespace {

using namespace detail::sjis;

} // namespace

void SjisDetectorSM::processByte(unsigned char byte, bool verifyCharacters) {
    detail::sjis::step(*this, byte, verifyCharacters);
}

namespace {

// The UTF-8 entry of the JIS X 0208 character that lead/trail encode, or 0
// when the pair is not one (an invalid pair, a lead of the user-defined
// rows 0xF0-0xFC, a code page 932 extension or an unmapped code).
std::uint32_t standardPairUtf8(unsigned char lead, unsigned char trail) {
    // Lead bytes 0x81-0x9F and 0xE0-0xEF give row pairs 0-61 and 62-93 (from
    // row 0x21 on); trail bytes 0x40-0x7E and 0x80-0x9E are cells 0-93 of
    // the first row of the pair, 0x9F-0xFC cells 0-93 of the second.
    unsigned row;
    if (lead >= 0x81 && lead <= 0x9F) {
        row = (lead - 0x81u) * 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        row = (lead - 0xC1u) * 2;
    } else {
        return 0;
    }
    unsigned cell;
    if (trail >= 0x40 && trail <= 0x7E) {
        cell = trail - 0x40u;
    } else if (trail >= 0x80 && trail <= 0x9E) {
        cell = trail - 0x41u;
    } else if (trail >= 0x9F && trail <= 0xFC) {
        cell = trail - 0x9Fu;
        ++row;
    } else {
        return 0;
    }
    return detail::jis0208Utf8(row + 0x21, cell + 0x21);
}

// Reads the characters that need no switch from index `i` on (plain ASCII
// and JIS X 0208 pairs) straight into `out`, leaving the machine as
// processByte would, and returns the index of the first byte it leaves to
// the machine. Reads no character that reaches `length` or beyond.
unsigned int convertPlainRun(SjisDetectorSM& m, const unsigned char* bytes, unsigned int i,
                             unsigned int length, detail::ByteSink& out) {
    int last = -1; // state after the last character read
    unsigned char lastLead = 0;
    char* p = out.window();
    while (i < length) {
        const unsigned char byte = bytes[i];
        if (byte < 0x80) {
            if (!detail::isPlainAscii(byte)) {
                break; // ESC, SO, SI
            }
            i += static_cast<unsigned int>(out.putPlainAscii(p, bytes + i, length - i));
            last = SingleByte;
            continue;
        }
        if (length - i < 2) {
            break;
        }
        const std::uint32_t packed = standardPairUtf8(byte, bytes[i + 1]);
        if (packed == 0) {
            break;
        }
        p = out.putPacked(p, packed);
        lastLead = byte;
        last = DoubleByte;
        i += 2;
    }
    out.commit(p);
    if (lastLead != 0) {
        m.m_firstByte = lastLead;
        m.m_confirmed = true;
    }
    if (last >= 0) {
        m.m_state = last;
        m.m_inChar = false;
    }
    return i;
}

// The index of a pair's JIS X 0208 entry in standardPairUtf8: rows of 94
// cells, the last standard row 0x74 led by 0xEF.
constexpr detail::sjis::SjisPairTables kPairIndex = detail::sjis::makeSjisPairTables(94, 0xEF);

// standardPairUtf8 without a branch on the bytes: both bytes through a
// table, the character entry read at index 0 for a pair that is none.
inline std::uint32_t standardPairUtf8Flat(unsigned char lead, unsigned char trail) {
    const unsigned index = unsigned{kPairIndex.lead[lead]} + unsigned{kPairIndex.trail[trail]};
    const bool valid = index < detail::sjis::kNoSjisPair;
    const std::uint32_t packed = detail::kJis0208Utf8[valid ? index : 0u];
    return valid ? packed : 0u;
}

// The byte classes of a block for convertBlocks: bytes that may lead, bytes
// of 0x80 or more, and the control bytes from SO to ESC (SO, SI and ESC need
// the machine; the rare ones between them are left to convertPlainRun).
constexpr detail::vector::ByteRanges kBlockRanges = {
    {0x81, 0xE0, 0x80, 0x0E}, {0x9F, 0xFC, 0xFF, 0x1B}, 4};

constexpr std::size_t kBlock = 64;
// The most a block writes (32 pairs of three bytes) and the overrun of the
// last 16-byte copy.
constexpr std::ptrdiff_t kBlockRoom = 128;

// Reads from index `i` on, while the machine stands between characters
// without a failure, whole blocks of 64 bytes of plain ASCII and JIS X 0208
// pairs into `out` (a block that ends with a lead byte up to that lead, the
// next block starting there); in the block that holds the first other
// character, the characters before it. Leaves the machine
// as convertPlainRun would after the same characters and returns the index
// of the first byte not read, the start of a character. Each block is
// sorted into classes at once; the pairs are then taken in order, the plain
// ASCII before each copied in fixed-size pieces. A block of plain ASCII
// alone starts a run that goes to the result in one copy.
unsigned int convertBlocks(SjisDetectorSM& m, detail::vector::Level level,
                           const unsigned char* bytes, unsigned int i, unsigned int length,
                           detail::ByteSink& out) {
    bool read = false;
    bool lastIsPair = false;
    bool anyPair = false;
    unsigned char lastLead = 0;
    // The block, and 16 bytes of room for the fixed-size copies to read.
    unsigned char block[kBlock + 16] = {};
    char* p = out.window();
    while (length - i >= kBlock) {
        const unsigned char* const b = bytes + i;
        std::uint64_t masks[4];
        detail::vector::rangeMasks64(level, b, kBlockRanges, masks);
        if ((masks[2] | masks[3]) == 0) {
            out.commit(p);
            i += static_cast<unsigned int>(out.copyPlainAscii(b, length - i));
            p = out.window();
            read = true;
            lastIsPair = false;
            continue;
        }
        p = out.roomFrom(p, kBlockRoom);
        std::memcpy(block, b, kBlock);
        const std::uint64_t leads = detail::pairLeads(masks[0] | masks[1], false);
        const std::uint64_t trails = leads << 1;
        // A one-byte character of 0x80 or more (katakana, or a failure), a
        // control byte, or the lead in the last byte, whose trail is in the
        // next block.
        const std::uint64_t stops = (masks[2] & ~(leads | trails)) | (masks[3] & ~trails);
        const unsigned blockEnd = (leads >> 63) != 0 ? 63u : 64u;
        unsigned end = stops != 0 ? detail::lowestBit(stops) : blockEnd;
        bool handOver = stops != 0;
        unsigned gap = 0; // the next byte to write
        for (std::uint64_t rest = leads & detail::bitsBelow(end); rest != 0; rest &= rest - 1) {
            const unsigned k = detail::lowestBit(rest);
            const std::uint32_t packed = standardPairUtf8Flat(block[k], block[k + 1]);
            if (packed == 0) {
                end = k;
                handOver = true;
                break;
            }
            // Pairs mostly follow one another: the gap copy only where
            // there is a gap.
            if (k != gap) {
                p = detail::copyGap(p, block + gap, k - gap);
            }
            // The count byte is overwritten by what follows.
            p = detail::ByteSink::storePacked(p, packed);
            gap = k + 2;
        }
        if (end > gap) {
            p = detail::copyGap(p, block + gap, end - gap);
        }
        if (end != 0) {
            read = true;
            lastIsPair = (trails >> (end - 1) & 1u) != 0;
            const std::uint64_t written = leads & detail::bitsBelow(end);
            if (written != 0) {
                anyPair = true;
                lastLead = block[detail::highestBit(written)];
            }
        }
        i += end;
        if (handOver) {
            break;
        }
    }
    out.commit(p);
    if (anyPair) {
        m.m_firstByte = lastLead;
        m.m_confirmed = true;
    }
    if (read) {
        m.m_state = lastIsPair ? DoubleByte : SingleByte;
        m.m_inChar = false;
    }
    return i;
}

// How far convertPlainRun reads after the blocks hand over: the blocks take
// over again from there.
constexpr unsigned int kPlainStretch = 64;

} // namespace

// Replaces nothing: appends the text as UTF-8 to `result`. From the first
// failure on the input is read as ISO-8859-1, the bytes of the character it
// interrupted included. Between characters and before any failure, plain
// ASCII and JIS X 0208 pairs are read by convertBlocks and convertPlainRun;
// every other byte goes through the machine.
bool SjisDetectorSM::convertToUtf8(const char* buffer, unsigned int length, std::string& result,
                                   bool& unmapped, bool useReplacement) {
    return detail::sjis::convertToUtf8(*this, detail::vector::bestLevel(), buffer, length, result,
                                       unmapped, useReplacement);
}

namespace detail {
namespace sjis {

bool convertToUtf8(SjisDetectorSM& m, vector::Level level, const char* buffer, unsigned int length,
                   std::string& result, bool& unmapped, bool useReplacement) {
    if (detail::isMissingInput(buffer, length)) {
        return false;
    }
    // At most three bytes of output per input byte (a single-byte katakana).
    detail::ByteSink out(result, std::size_t{length} * 3);
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer);
    // Index of the first byte of the character being read: the bytes from
    // there on have been consumed without output yet.
    unsigned int pending = 0;
    unsigned int i = 0;
    while (i < length) {
        if (!m.m_error && m.m_state != Lead) {
            i = convertBlocks(m, level, bytes, i, length, out);
            const unsigned int limit = length - i > kPlainStretch ? i + kPlainStretch : length;
            i = convertPlainRun(m, bytes, i, limit, out);
            pending = i;
            if (i == length) {
                break;
            }
            if (limit != length && limit - i <= 1) {
                continue; // stopped by the limit, not by a character
            }
        }
        const unsigned char byte = bytes[i];
        const bool failedBefore = m.m_error;
        m.SjisDetectorSM::processByte(byte, false);
        ++i;
        if (m.m_error) {
            // From the first failure on, the input is read as ISO-8859-1,
            // the bytes of the character it interrupted included.
            out.putLatin1Range(bytes + (failedBefore ? i - 1 : pending), bytes + i);
            continue;
        }
        switch (m.m_state) {
        case SingleByte:
            out.putLatin1(byte);
            break;
        case Kana:
            out.putCodePoint(static_cast<std::uint32_t>(
                JapaneseConversions::jis0201ToUnicodeFix(byte, useReplacement, unmapped)));
            break;
        case DoubleByte:
            out.putCodePoint(static_cast<std::uint32_t>(JapaneseConversions::jis0208ToUnicodeFix(
                JapaneseConversions::sjisToJis(m.m_firstByte, byte), useReplacement, unmapped)));
            break;
        default: // Lead: wait for the trail byte
            continue;
        }
        pending = i;
    }
    out.flush();
    return true;
}

} // namespace sjis
} // namespace detail

AbstractEncoding::EncodingID SjisDetectorSM::getEncodingID() {
    return AbstractEncoding::Sjis;
}

} // namespace charsetkit
