// KoreanConverter over the platform's iconv: the plain twin against which
// the tests hold the library's table converter.
#ifndef CHARSETKIT_TESTS_REFERENCE_ICONVKOREANCONVERTER_H
#define CHARSETKIT_TESTS_REFERENCE_ICONVKOREANCONVERTER_H

#include "korean/KoreanConverter.h"

namespace charsetkit {

/// Converts through iconv between `koreanCharset` (by default "CP949", the
/// superset of EUC-KR whose lead and trail bytes are those that
/// KoreanUtil::isEucKrCharSet accepts) and `utf8Charset`.
///
/// Each conversion opens its own conversion descriptor and closes it before
/// returning, since a descriptor must not be shared between threads. A
/// charset that iconv does not know makes every conversion fail, which is
/// how an unavailable converter shows.
class IconvKoreanConverter final : public KoreanConverter {
public:
    constexpr IconvKoreanConverter() = default;
    constexpr IconvKoreanConverter(const char* koreanCharset, const char* utf8Charset)
        : m_koreanCharset(koreanCharset), m_utf8Charset(utf8Charset) {}

    bool eucKrToUtf8(const unsigned char* input, std::size_t length,
                     std::string& output) const override;
    bool utf8ToEucKr(const unsigned char* input, std::size_t length,
                     std::string& output) const override;

private:
    const char* m_koreanCharset = "CP949";
    const char* m_utf8Charset = "UTF-8";
};

} // namespace charsetkit

#endif
