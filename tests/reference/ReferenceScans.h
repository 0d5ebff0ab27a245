// Deliberately plain versions of the library's fast loops: one byte at a
// time, no tricks. Tests compare the fast code with these.
#ifndef CHARSETKIT_TESTS_REFERENCE_REFERENCESCANS_H
#define CHARSETKIT_TESTS_REFERENCE_REFERENCESCANS_H

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

} // namespace reference
} // namespace charsetkit

#endif
