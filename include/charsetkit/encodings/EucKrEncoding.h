#ifndef CHARSETKIT_ENCODINGS_EUCKRENCODING_H
#define CHARSETKIT_ENCODINGS_EUCKRENCODING_H

#include <charsetkit/encodings/AbstractEncoding.h>

namespace charsetkit {

/// EUC-KR, accepting the code page 949 lead/trail layout. The operations are
/// served by the KoreanUtil singleton; objects hold no data and any number of
/// threads may use one.
class CHARSETKIT_EXPORT EucKrEncoding : public AbstractEncoding {
public:
    const char* getDisplayName() const override;
    const char* getPreferedID() const override;
    const char* getJavaName() const override;
    bool isAliasOrName(const char* name) const override;
    bool isStateful() const override;
    AbstractTraverser* getExactEncodingTraverser() const override;
    /// EUC-KR (code page 949) to UTF-8, all or nothing: true with `result`
    /// replaced, or false with `result` untouched when the input is not
    /// well-formed, holds a character the converter cannot map, or no
    /// converter is available. `unmapped` is never set and `useReplacement`
    /// has nothing to replace.
    bool convertToUtf8(const char* buffer, unsigned int length, std::string& result, bool& unmapped,
                       bool useReplacement) const override;
    /// UTF-8 to EUC-KR (code page 949), with the same all-or-nothing contract.
    bool convertFromUtf8(const char* buffer, unsigned int length,
                         std::string& result) const override;
    /// True when every byte below 0x7F stands alone and every other byte is
    /// a lead 0x81-0xFE followed by a trail in 0x41-0x5A, 0x61-0x7A or
    /// 0x81-0xFE; a lead in the last byte fails. The flags and the limit do
    /// not apply.
    bool verify(const char* buffer, unsigned int length, bool verifyCharacters,
                bool rejectRedundantEscapes, int escapeRunLimit) const override;
};

} // namespace charsetkit

#endif
