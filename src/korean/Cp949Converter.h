// KoreanConverter over the library's own code page 949 tables.
#ifndef CHARSETKIT_SRC_KOREAN_CP949CONVERTER_H
#define CHARSETKIT_SRC_KOREAN_CP949CONVERTER_H

#include "korean/KoreanConverter.h"
#include "utilities/Utf8BlockShape.h"

namespace charsetkit {

/// Converts between code page 949 (the superset of EUC-KR whose lead and
/// trail bytes are those that KoreanUtil::isEucKrCharSet accepts) and UTF-8
/// through the tables in Cp949Tables.h, in one pass over the input.
///
/// Decoding accepts bytes 0x00-0x7F as ASCII and the mapped two-byte
/// characters; anything else fails. Encoding accepts well-formed UTF-8 (no
/// overlong forms, surrogates or values above U+10FFFF) whose characters are
/// ASCII or have a code; the language tags U+E0000-U+E007F, which carry no
/// text, are dropped without failing (the long-standing behaviour of this
/// conversion, kept for its callers).
class Cp949Converter final : public KoreanConverter {
public:
    constexpr Cp949Converter() = default;

    bool eucKrToUtf8(const unsigned char* input, std::size_t length,
                     std::string& output) const override;
    /// eucKrToUtf8 reading the input as `scan` says (the result is the same
    /// either way).
    bool eucKrToUtf8(const unsigned char* input, std::size_t length, std::string& output,
                     detail::BlockScan scan) const;
    bool utf8ToEucKr(const unsigned char* input, std::size_t length,
                     std::string& output) const override;
    /// utf8ToEucKr reading the input as `scan` says (the result is the same
    /// either way).
    bool utf8ToEucKr(const unsigned char* input, std::size_t length, std::string& output,
                     detail::BlockScan scan) const;
};

} // namespace charsetkit

#endif
