// Writing byte strings in tests (as hex text, "E3 81 82", or as numbers) and
// printing them back as hex, so that failures show the exact bytes.
#ifndef CHARSETKIT_TESTS_SUPPORT_BYTES_H
#define CHARSETKIT_TESTS_SUPPORT_BYTES_H

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
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

/// Bytes given as numbers, e.g. bytes({0x82, 0xA0}).
inline std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int value : values) {
        out.push_back(static_cast<char>(static_cast<unsigned char>(value)));
    }
    return out;
}

/// The bytes as upper-case hex pairs separated by blanks: "61 25 32".
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

/// The string's bytes as the unsigned bytes some interfaces take.
inline const unsigned char* asBytes(const std::string& text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

/// The string's length as the unsigned int the library's operations take.
inline unsigned int lengthOf(const std::string& text) {
    return static_cast<unsigned int>(text.size());
}

} // namespace test
} // namespace charsetkit

#endif
