// The UTF-8 writer and decoder (31-bit form, one to six bytes), kept in a low
// unit so that the detectors and converters can use them without depending on
// the encoding classes. Utf8Encoding exposes them as its static functions.
#ifndef CHARSETKIT_SRC_UTILITIES_UTF8CODEC_H
#define CHARSETKIT_SRC_UTILITIES_UTF8CODEC_H

#include <cstdint>
#include <string>

namespace charsetkit {
namespace utf8 {

/// Appends the UTF-8 form of `v` to `out`. The row is chosen by comparing `v`
/// with 0x80, 0x800, 0x10000, 0x200000 and 0x4000000; larger values take six
/// bytes, bits 31-30 included, so 0x80000000 and up give FE/FF lead bytes.
inline void append(std::uint32_t v, std::string& out) {
    auto byte = [](std::uint32_t b) { return static_cast<char>(static_cast<unsigned char>(b)); };
    auto trail = [&](int shift) { return byte(0x80u | ((v >> shift) & 0x3Fu)); };
    if (v < 0x80u) {
        out.push_back(byte(v));
    } else if (v < 0x800u) {
        const char s[2] = {byte(0xC0u | (v >> 6)), trail(0)};
        out.append(s, 2);
    } else if (v < 0x10000u) {
        const char s[3] = {byte(0xE0u | (v >> 12)), trail(6), trail(0)};
        out.append(s, 3);
    } else if (v < 0x200000u) {
        const char s[4] = {byte(0xF0u | (v >> 18)), trail(12), trail(6), trail(0)};
        out.append(s, 4);
    } else if (v < 0x4000000u) {
        const char s[5] = {byte(0xF8u | (v >> 24)), trail(18), trail(12), trail(6), trail(0)};
        out.append(s, 5);
    } else {
        const char s[6] = {
            byte(0xFCu | (v >> 30)), trail(24), trail(18), trail(12), trail(6), trail(0)};
        out.append(s, 6);
    }
}

/// The value bits of a lead byte, by sequence length 0 to 6.
constexpr unsigned char kLeadMasks[7] = {0x00, 0x7F, 0x1F, 0x0F, 0x07, 0x03, 0x01};

/// Decodes `length` bytes (1 to 6) without validating them: the lead byte's
/// value bits by the mask for `length`, then six bits of each following
/// byte. A length outside 1..6 reads nothing and gives 0.
inline std::uint32_t decode(const unsigned char* p, int length) {
    if (length < 1 || length > 6) {
        return 0;
    }
    std::uint32_t v = p[0] & kLeadMasks[length];
    for (int i = 1; i < length; ++i) {
        v = (v << 6) | (p[i] & 0x3Fu);
    }
    return v;
}

} // namespace utf8
} // namespace charsetkit

#endif
