// Shift_JIS read in whole 64-byte blocks: the bytes of a block are sorted
// into classes at once, the lead bytes follow from the runs of bytes that may
// lead (pairLeads), and whole blocks are checked with mask tests; only the
// two-byte characters are then visited one by one. Anything a block cannot
// settle goes to the machine's own rule (SjisStep.h), so that every answer
// equals the byte-at-a-time one. Each entry takes the vector level that
// classifies the bytes, so that every compiled level can be compared with
// the plain one.
#ifndef CHARSETKIT_SRC_DETECTORS_SJISBLOCKS_H
#define CHARSETKIT_SRC_DETECTORS_SJISBLOCKS_H

#include <charsetkit/detectors/SjisDetectorSM.h>

#include "utilities/VectorScan.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace charsetkit {
namespace detail {

namespace sjis {

/// What the lead and the trail byte of a Shift_JIS pair add to the place of
/// its JIS X 0208 character among rows of `stride` places from row 0x21: the
/// lead the first row of its pair times `stride`, the trail its cell and,
/// from 0x9F on, one row more. Leads from 0x81 to `lastLead` and trails in
/// range have a place; every other byte adds kNoSjisPair, so that a sum of
/// kNoSjisPair or more is no pair. Read with both bytes at once, without a
/// branch on them.
struct SjisPairTables {
    std::uint16_t lead[256];
    std::uint16_t trail[256];
};

constexpr std::uint16_t kNoSjisPair = 0x8000;

constexpr SjisPairTables makeSjisPairTables(unsigned stride, unsigned lastLead) {
    SjisPairTables t{};
    for (unsigned b = 0; b < 256; ++b) {
        t.lead[b] = kNoSjisPair;
        if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= lastLead)) {
            // Lead 0x81 holds rows 0x21 and 0x22, 0xE0 rows 0x5F and 0x60.
            const unsigned pairRow = (b - (b >= 0xA0u ? 0xC1u : 0x81u)) * 2u;
            t.lead[b] = static_cast<std::uint16_t>(pairRow * stride);
        }
        t.trail[b] = kNoSjisPair;
        if (b >= 0x40 && b <= 0x7E) {
            t.trail[b] = static_cast<std::uint16_t>(b - 0x40u);
        } else if (b >= 0x80 && b <= 0x9E) {
            t.trail[b] = static_cast<std::uint16_t>(b - 0x41u);
        } else if (b >= 0x9F && b <= 0xFC) {
            t.trail[b] = static_cast<std::uint16_t>(stride + (b - 0x9Fu));
        }
    }
    return t;
}

/// The index of the byte at which the machine, started afresh and reading
/// [p, p + n) byte by byte with `verifyCharacters`, first fails; `n` when
/// none fails (a buffer that ends after a lead byte does not fail).
std::size_t verifiedPrefix(vector::Level level, const unsigned char* p, std::size_t n,
                           bool verifyCharacters);

inline std::size_t verifiedPrefix(const unsigned char* p, std::size_t n, bool verifyCharacters) {
    return verifiedPrefix(vector::bestLevel(), p, n, verifyCharacters);
}

/// SjisDetectorSM::convertToUtf8 with the blocks classified at `level`.
bool convertToUtf8(SjisDetectorSM& machine, vector::Level level, const char* buffer,
                   unsigned int length, std::string& result, bool& unmapped, bool useReplacement);

} // namespace sjis
} // namespace detail
} // namespace charsetkit

#endif
