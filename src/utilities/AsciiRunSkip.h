// How far a byte-at-a-time driver may jump over plain ASCII: the run is taken
// in one step except its last byte, which the driver still feeds to its
// machine so that the machine ends in the state the whole run would leave.
#ifndef CHARSETKIT_SRC_UTILITIES_ASCIIRUNSKIP_H
#define CHARSETKIT_SRC_UTILITIES_ASCIIRUNSKIP_H

#include "utilities/AsciiRun.h"

#include <cstddef>

namespace charsetkit {
namespace detail {

/// The number of plain ASCII bytes from index `i` on, less the last one,
/// which the caller still feeds to its machine (0 when `i` is at the end).
inline unsigned int plainAsciiRunToSkip(const unsigned char* bytes, unsigned int i,
                                        unsigned int length) {
    if (i >= length || !isPlainAscii(bytes[i])) {
        return 0;
    }
    const std::size_t run = plainAsciiRunLength(bytes + i, length - i);
    return static_cast<unsigned int>(run - 1);
}

} // namespace detail
} // namespace charsetkit

#endif
