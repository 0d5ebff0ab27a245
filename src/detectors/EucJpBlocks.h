// EUC-JP read in 64-byte blocks: each block is classified at once into masks
// (bytes of 0xA1-0xFE, bytes of 0x80-0xFF, SO/SI, ESC), where the JIS X 0208
// pairs start follows from the runs of 0xA1-0xFE bytes, and only the pairs are
// then visited one by one. A block is taken this way only while it holds
// nothing but plain ASCII and such pairs; anything else is left to the
// machine-driven code, which gives every answer the blocks give.
#ifndef CHARSETKIT_SRC_DETECTORS_EUCJPBLOCKS_H
#define CHARSETKIT_SRC_DETECTORS_EUCJPBLOCKS_H

#include "utilities/VectorScan.h"

#include <string>

namespace charsetkit {

class EucJpDetectorSM;

namespace detail {

class ByteSink;

namespace eucjp {

/// Whether a fresh machine reads the `length` bytes at `bytes` without
/// failing (checking each JIS X 0208 pair against the code tables when
/// `verifyCharacters` is true), as runJapaneseStatelessFast answers: blocks
/// of plain ASCII and pairs are checked with masks; from the first block
/// holding any other byte of 0x80-0xFF (0x8E, 0x8F and the bytes no
/// character starts with) and for the last bytes that fill no block, the
/// machine reads on from the start of the character that block's first byte
/// belongs to. A buffer that ends inside a character verifies.
bool verifyBlocks(vector::Level level, const unsigned char* bytes, unsigned int length,
                  bool verifyCharacters);

inline bool verifyBlocks(const unsigned char* bytes, unsigned int length, bool verifyCharacters) {
    return verifyBlocks(vector::bestLevel(), bytes, length, verifyCharacters);
}

/// With `machine` between characters and without an error, writes to `out`
/// the plain ASCII and mapped JIS X 0208 pairs from index `i` on in whole
/// blocks, leaving the machine's fields as reading them one by one would
/// (see EucJpDetectorSM::convertToUtf8), and returns the index of the first
/// character it leaves to the caller: ESC, SO, SI, 0x8E, 0x8F, any other
/// byte of 0x80-0xA0 or 0xFF, a pair byte followed by a byte below 0x80, a
/// pair the standard table does not map, or the last bytes of the buffer
/// (fewer than 80, so that the fixed-size copies of ASCII gaps stay inside
/// it).
unsigned int convertBlocks(vector::Level level, EucJpDetectorSM& machine,
                           const unsigned char* bytes, unsigned int i, unsigned int length,
                           ByteSink& out);

/// EucJpDetectorSM::convertToUtf8 with its block reads at `level`.
bool convertToUtf8(vector::Level level, EucJpDetectorSM& machine, const char* buffer,
                   unsigned int length, std::string& result, bool& unmapped, bool useReplacement);

} // namespace eucjp
} // namespace detail
} // namespace charsetkit

#endif
