// Deliberately plain versions of the library's fast loops: one byte at a
// time, no tricks. Tests compare the fast code with these.
#ifndef CHARSETKIT_TESTS_REFERENCE_REFERENCESCANS_H
#define CHARSETKIT_TESTS_REFERENCE_REFERENCESCANS_H

#include <charsetkit/detectors/Utf8DetectorSM.h>

#include <cstddef>

namespace charsetkit {
namespace reference {

inline std::size_t plainAsciiRunLength(const unsigned char* p, std::size_t n) {
    std::size_t i = 0;
    while (i < n && p[i] < 0x80 && p[i] != 0x1B && p[i] != 0x0E && p[i] != 0x0F) {
        ++i;
    }
    return i;
}

inline std::size_t runBelow(const unsigned char* p, std::size_t n, unsigned char bound) {
    std::size_t i = 0;
    while (i < n && p[i] < bound) {
        ++i;
    }
    return i;
}

/// The structure machine through its own byte-by-byte driver: whether it
/// fails, and whether it ends inside a character.
struct Utf8Outcome {
    bool failed;
    bool endsInsideCharacter;
    bool operator==(const Utf8Outcome& o) const {
        return failed == o.failed && endsInsideCharacter == o.endsInsideCharacter;
    }
};

inline Utf8Outcome scanUtf8(const unsigned char* p, std::size_t n) {
    Utf8DetectorSM machine;
    AbstractDetectorSM& plain = machine;
    for (std::size_t i = 0; i < n; ++i) {
        plain.processByte(p[i], true);
        if (plain.m_error) {
            return {true, false};
        }
    }
    return {false, plain.m_inChar};
}

/// The EUC-KR walk one byte at a time: bytes below 0x7F alone, 0x81-0xFE
/// followed by a trail byte (0x41-0x5A, 0x61-0x7A, 0x81-0xFE).
inline bool isEucKr(const unsigned char* p, std::size_t n) {
    std::size_t i = 0;
    while (i < n) {
        if (p[i] < 0x7F) {
            ++i;
            continue;
        }
        if (n - i < 2 || p[i] < 0x81 || p[i] == 0xFF) {
            return false;
        }
        const unsigned char t = p[i + 1];
        if (!((t >= 0x41 && t <= 0x5A) || (t >= 0x61 && t <= 0x7A) || (t >= 0x81 && t <= 0xFE))) {
            return false;
        }
        i += 2;
    }
    return true;
}

} // namespace reference
} // namespace charsetkit

#endif
