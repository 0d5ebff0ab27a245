// Shared by the encodings whose conversion is a plain copy.
#ifndef CHARSETKIT_SRC_ENCODINGS_COPYBYTES_H
#define CHARSETKIT_SRC_ENCODINGS_COPYBYTES_H

#include <string>

namespace charsetkit {

/// Replaces `result` with `length` bytes at `buffer`; an empty input never
/// reads `buffer` (which may then be null).
inline void copyBytes(const char* buffer, unsigned int length, std::string& result) {
    if (length == 0) {
        result.clear();
    } else {
        result.assign(buffer, length);
    }
}

} // namespace charsetkit

#endif
