// Whole-buffer UTF-8 checks that answer exactly as Utf8DetectorSM would
// after reading every byte with its own driver: the vector scan proves long
// stretches valid a block at a time, and the machine reads what the scan
// cannot prove (five- and six-byte forms, overlong forms, control bytes,
// a character cut off at the end of the buffer), from a character boundary
// and on for at least a few dozen bytes before the scan takes over again.
#ifndef CHARSETKIT_SRC_DETECTORS_UTF8SCAN_H
#define CHARSETKIT_SRC_DETECTORS_UTF8SCAN_H

#include "utilities/VectorScan.h"

#include <cstddef>

namespace charsetkit {
namespace detail {

/// How the structure machine ends after reading a buffer from its start
/// between characters.
struct Utf8ScanResult {
    /// The machine failed on some byte.
    bool failed = false;
    /// It did not fail and the buffer ends inside a character.
    bool endsInsideCharacter = false;
};

/// What Utf8DetectorSM (characters not looked up) makes of [p, p + n).
Utf8ScanResult scanUtf8(vector::Level level, const unsigned char* p, std::size_t n);

inline Utf8ScanResult scanUtf8(const unsigned char* p, std::size_t n) {
    return scanUtf8(vector::bestLevel(), p, n);
}

/// The verdict of Utf8DetectorSM's verify() when no character is looked up.
inline bool isUtf8Structure(const char* buffer, std::size_t length) {
    return !scanUtf8(reinterpret_cast<const unsigned char*>(buffer), length).failed;
}

} // namespace detail
} // namespace charsetkit

#endif
