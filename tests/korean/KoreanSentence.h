// A Korean sentence in EUC-KR and in UTF-8, shared by the Korean tests.
#ifndef CHARSETKIT_TESTS_KOREAN_KOREANSENTENCE_H
#define CHARSETKIT_TESTS_KOREAN_KOREANSENTENCE_H

#include <string>

namespace charsetkit {
namespace test {

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

} // namespace test
} // namespace charsetkit

#endif
