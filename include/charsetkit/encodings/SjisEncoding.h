#ifndef CHARSETKIT_ENCODINGS_SJISENCODING_H
#define CHARSETKIT_ENCODINGS_SJISENCODING_H

#include <charsetkit/encodings/AbstractEncoding.h>

namespace charsetkit {

/// Shift_JIS with the code page 932 extensions.
class CHARSETKIT_EXPORT SjisEncoding : public AbstractEncoding {
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
