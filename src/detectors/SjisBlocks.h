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
