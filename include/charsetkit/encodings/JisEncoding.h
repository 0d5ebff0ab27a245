#ifndef CHARSETKIT_ENCODINGS_JISENCODING_H
#define CHARSETKIT_ENCODINGS_JISENCODING_H

#include <charsetkit/encodings/AbstractEncoding.h>

namespace charsetkit {

/// ISO-2022-JP with JIS X 0212.
class CHARSETKIT_EXPORT JisEncoding : public AbstractEncoding {
public:
    const char* getDisplayName() const override;
    const char* getPreferedID() const override;
    const char* getJavaName() const override;
    bool isAliasOrName(const char* name) const override;
    bool isStateful() const override;
    AbstractTraverser* getExactEncodingTraverser() const override;
    bool convertToUtf8(const char* buffer, unsigned int length, std::string& result, bool& unmapped,
                       bool useReplacement) const override;
    bool convertFromUtf8(const char* buffer, unsigned int length,
                         std::string& result) const override;
    bool verify(const char* buffer, unsigned int length, bool verifyCharacters,
                bool rejectRedundantEscapes, int escapeRunLimit) const override;

private:
    static const char* const ms_aliases[];
};

} // namespace charsetkit

#endif
