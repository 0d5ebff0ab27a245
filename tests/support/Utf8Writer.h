// UTF-8 text for expected values, written here independently of the
// library's own writer so that a fault in one is not copied into the other.
#ifndef CHARSETKIT_TESTS_SUPPORT_UTF8WRITER_H
#define CHARSETKIT_TESTS_SUPPORT_UTF8WRITER_H

#include <initializer_list>
#include <string>

namespace charsetkit {
namespace test {

/// Appends the UTF-8 form of a code point (up to the six-byte form).
inline void appendUtf8(std::string& out, unsigned long cp) {
    auto put = [&out](unsigned long value) { out.push_back(static_cast<char>(value & 0xFF)); };
    if (cp < 0x80) {
        put(cp);
    } else if (cp < 0x800) {
        put(0xC0 | (cp >> 6));
        put(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        put(0xE0 | (cp >> 12));
        put(0x80 | ((cp >> 6) & 0x3F));
        put(0x80 | (cp & 0x3F));
    } else if (cp < 0x200000) {
        put(0xF0 | (cp >> 18));
        put(0x80 | ((cp >> 12) & 0x3F));
        put(0x80 | ((cp >> 6) & 0x3F));
        put(0x80 | (cp & 0x3F));
    } else if (cp < 0x4000000) {
        put(0xF8 | (cp >> 24));
        put(0x80 | ((cp >> 18) & 0x3F));
        put(0x80 | ((cp >> 12) & 0x3F));
        put(0x80 | ((cp >> 6) & 0x3F));
        put(0x80 | (cp & 0x3F));
    } else {
        put(0xFC | ((cp >> 30) & 0x03));
        put(0x80 | ((cp >> 24) & 0x3F));
        put(0x80 | ((cp >> 18) & 0x3F));
        put(0x80 | ((cp >> 12) & 0x3F));
        put(0x80 | ((cp >> 6) & 0x3F));
        put(0x80 | (cp & 0x3F));
    }
}

/// The UTF-8 text of a list of code points.
inline std::string utf8(std::initializer_list<unsigned long> codePoints) {
    std::string out;
    for (unsigned long cp : codePoints) {
        appendUtf8(out, cp);
    }
    return out;
}

} // namespace test
} // namespace charsetkit

#endif
