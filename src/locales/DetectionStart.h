// The opening every detection shares: the result is emptied (its storage
// given back), a missing buffer finds nothing, and plain ASCII text (no byte
// above 0x7F, no ESC, SO or SI) is ASCII whatever encodings are considered.
#ifndef CHARSETKIT_SRC_LOCALES_DETECTIONSTART_H
#define CHARSETKIT_SRC_LOCALES_DETECTIONSTART_H

#include "encodings/MissingInput.h"
#include "utilities/AsciiRun.h"

#include <charsetkit/encodings/AbstractEncoding.h>

#include <cstddef>
#include <vector>

namespace charsetkit {
namespace detail {

/// False when the answer is already complete (null `encodings`, missing
/// input, or plain ASCII, for which Ascii has been appended). Otherwise true,
/// with `prefix` set to the length of the plain ASCII prefix, which the
/// machines need not be shown.
inline bool startDetection(const char* buffer, unsigned int length,
                           std::vector<AbstractEncoding::EncodingID>* encodings,
                           std::size_t& prefix) {
    if (encodings == nullptr) {
        return false;
    }
    std::vector<AbstractEncoding::EncodingID>().swap(*encodings);
    if (isMissingInput(buffer, length)) {
        return false;
    }
    prefix = plainAsciiRunLength(reinterpret_cast<const unsigned char*>(buffer), length);
    if (prefix == length) {
        encodings->push_back(AbstractEncoding::Ascii);
        return false;
    }
    return true;
}

} // namespace detail
} // namespace charsetkit

#endif
