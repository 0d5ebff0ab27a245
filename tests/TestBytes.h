// Helpers for writing byte strings in tests as hex ("E3 81 82") and printing
// them back, so that failures show the exact bytes.
#ifndef CHARSETKIT_TESTS_TESTBYTES_H
#define CHARSETKIT_TESTS_TESTBYTES_H

#include <cstdio>
#include <cstdlib>
#include <string>

namespace charsetkit {
namespace test {

/// "E3 81 82" -> the three bytes. Blanks separate bytes.
inline std::string bytes(const char* hexText) {
    std::string out;
    const char* p = hexText;
    while (*p != '\0') {
        if (*p == ' ') {
            ++p;
            continue;
        }
        char* end = nullptr;
        const long v = std::strtol(p, &end, 16);
        out.push_back(static_cast<char>(static_cast<unsigned char>(v)));
        p = end;
    }
    return out;
}

/// The bytes as upper-case hex pairs separated by blanks.
inline std::string hex(const std::string& s) {
    std::string out;
    char buf[4];
    for (char c : s) {
        std::snprintf(buf, sizeof buf, "%02X",
                      static_cast<unsigned>(static_cast<unsigned char>(c)));
        if (!out.empty()) {
            out.push_back(' ');
        }
        out += buf;
    }
    return out;
}

} // namespace test
} // namespace charsetkit

#endif
