// Byte helpers shared by the Korean tests.
#ifndef CHARSETKIT_TESTS_KOREAN_KOREANTESTBYTES_H
#define CHARSETKIT_TESTS_KOREAN_KOREANTESTBYTES_H

#include <cstdio>
#include <string>

namespace charsetkit {
namespace koreantest {

/// The bytes of `text` in hex, for failure messages.
inline std::string hex(const std::string& text) {
    std::string out;
    for (const char c : text) {
        char digits[4];
        std::snprintf(digits, sizeof digits, "%02X ", static_cast<unsigned char>(c));
        out += digits;
    }
    return out;
}

inline const unsigned char* bytes(const std::string& text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

inline unsigned int size(const std::string& text) {
    return static_cast<unsigned int>(text.size());
}

// A Korean sentence in EUC-KR and in UTF-8.
inline const std::string& sentenceEucKr() {
    static const std::string text =
        "\xBE\xC8\xB3\xE7\xC7\xCF\xBC\xBC\xBF\xE4, \xBC\xBC\xB0\xE8! \xC7\xD1\xB1\xB9\xBE\xEE "
        "\xC5\xD8\xBD\xBA\xC6\xAE\xC0\xD4\xB4\xCF\xB4\xD9.";
    return text;
}

inline const std::string& sentenceUtf8() {
    static const std::string text = u8"안녕하세요, 세계! 한국어 텍스트입니다.";
    return text;
}

} // namespace koreantest
} // namespace charsetkit

#endif
