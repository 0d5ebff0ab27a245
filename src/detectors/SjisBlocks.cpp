#include "detectors/SjisBlocks.h"

#include "detectors/SjisStep.h"
#include "japanese/JisValidity.h"
#include "utilities/PairRuns.h"
#include "utilities/Settings.h"

namespace charsetkit {
namespace detail {
namespace sjis {

namespace {

constexpr std::size_t kBlock = 64;

// The byte classes of a block, in two scans: bytes that may lead, trails in
// range (0x40-0x7E, 0x80-0xFC), and the bytes a one-byte character may not
// be (ESC, SO, SI, 0xFD-0xFF) with the single-byte katakana apart.
constexpr vector::ByteRanges kPairRanges = {{0x81, 0xE0, 0x40, 0x80}, {0x9F, 0xFC, 0x7E, 0xFC}, 4};
constexpr vector::ByteRanges kSingleRanges = {
    {0x0E, 0x1B, 0xFD, 0xA1}, {0x0F, 0x1B, 0xFF, 0xDF}, 4};

// The bit of a pair in the validity bitmaps: row r from 0x21 at bit
// r * 96, cell c from 0x21 at bit c of its row. Every lead has a row there
// (up to 0x97 for 0xFC); rows past the bitmaps' end are not mapped.
constexpr unsigned kRowBits = kJisMappedRowBytes * 8;
constexpr unsigned kMappedBits = kJisMappedRows * kRowBits;
constexpr SjisPairTables kPairBits = makeSjisPairTables(kRowBits, 0xFC);

// sjisPairMapped for a lead that may lead and a trail in range, in
// `bitmap`, without a branch on the bytes.
inline bool pairMapped(const std::uint8_t* bitmap, unsigned char lead, unsigned char trail) {
    const unsigned bit = unsigned{kPairBits.lead[lead]} + unsigned{kPairBits.trail[trail]};
    const bool inRows = bit < kMappedBits;
    const unsigned at = inRows ? bit : 0u;
    return inRows & (((bitmap[at >> 3] >> (at & 7u)) & 1u) != 0);
}

// Steps the machine over [p, p + n); returns the index of the byte it fails
// on, or `n`.
std::size_t stepThrough(SjisDetectorSM& machine, const unsigned char* p, std::size_t n,
                        bool verifyCharacters) {
    for (std::size_t k = 0; k < n; ++k) {
        step(machine, p[k], verifyCharacters);
        if (machine.m_error) {
            return k;
        }
    }
    return n;
}

} // namespace

// Each block starts with the machine between characters or, when the last
// block's last byte was a lead, after that lead (`carry`). A block whose
// masks or pairs show any failure is read by the machine instead, which
// finds where; every other block only moves the carry on.
std::size_t verifiedPrefix(vector::Level level, const unsigned char* p, std::size_t n,
                           bool verifyCharacters) {
    const bool kana = settings::supportSingleByteKana();
    const std::uint8_t* const bitmap = jis0208Bitmap();
    bool carry = false;
    unsigned char carryLead = 0;
    std::size_t pos = 0;
    SjisDetectorSM machine;
    for (; n - pos >= kBlock; pos += kBlock) {
        const unsigned char* const b = p + pos;
        std::uint64_t pair[4];
        std::uint64_t single[4];
        vector::rangeMasks64(level, b, kPairRanges, pair);
        vector::rangeMasks64(level, b, kSingleRanges, single);
        const std::uint64_t leads = pairLeads(pair[0] | pair[1], carry);
        const std::uint64_t trails = leads << 1 | (carry ? 1u : 0u);
        const std::uint64_t singles = ~(leads | trails);
        // A one-byte character of 0x80-0xFC: 0x80, 0xA0 or katakana.
        const std::uint64_t highSingles = singles & pair[3] & ~(kana ? single[3] : 0u);
        std::uint64_t bad = (trails & ~(pair[2] | pair[3])) |
                            (singles & (single[0] | single[1] | single[2])) | highSingles;
        if (verifyCharacters && bad == 0) {
            bool mapped = !carry || pairMapped(bitmap, carryLead, b[0]);
            // The pair of a lead in the last byte is checked with the next block.
            for (std::uint64_t rest = leads & ~(std::uint64_t{1} << 63); rest != 0;
                 rest &= rest - 1) {
                const unsigned k = lowestBit(rest);
                mapped &= pairMapped(bitmap, b[k], b[k + 1]);
            }
            bad = mapped ? 0u : 1u;
        }
        if (bad == 0) {
            carry = (leads >> 63) != 0;
            carryLead = b[63];
            continue;
        }
        machine.m_state = carry ? Lead : SingleByte;
        machine.m_firstByte = carryLead;
        const std::size_t failed = stepThrough(machine, b, kBlock, verifyCharacters);
        if (failed != kBlock) {
            return pos + failed;
        }
        carry = machine.m_state == Lead;
        carryLead = machine.m_firstByte;
    }
    machine.m_state = carry ? Lead : SingleByte;
    machine.m_firstByte = carryLead;
    return pos + stepThrough(machine, p + pos, n - pos, verifyCharacters);
}

} // namespace sjis
} // namespace detail
} // namespace charsetkit
