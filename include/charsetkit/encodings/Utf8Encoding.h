#ifndef CHARSETKIT_ENCODINGS_UTF8ENCODING_H
#define CHARSETKIT_ENCODINGS_UTF8ENCODING_H

#include <charsetkit/encodings/AbstractEncoding.h>

namespace charsetkit {

/// UTF-8 (the 31-bit form with sequences of one to six bytes).
class CHARSETKIT_EXPORT Utf8Encoding : public AbstractEncoding {
public:
    /// Appends the UTF-8 form of `codePoint`, taken as an unsigned 32-bit
    /// value, to `output` (one to six bytes; values from 0x200000 on give
    /// five- and six-byte forms). Earlier content of `output` stays.
    static void unicodeToUtf8(int codePoint, std::string& output);
    /// Decodes one sequence of `length` bytes without validating it. A length
    /// of 0 gives 0; a length of 1 reads only the first byte. Lengths outside
    /// 0..6 read nothing and give 0.
    static int utf8ToUnicode(const unsigned char* sequence, int length);
    /// Counts characters by stepping over the lengths their lead bytes
    /// announce; never reads at or past `buffer + length`. A count beyond
    /// the range of int is given as INT_MAX.
    static int getUtf8CharCount(const char* buffer, unsigned int length);
    static int getUtf8CharCount(const std::string& text);

    const char* getDisplayName() const override;
    const char* getPreferedID() const override;
    const char* getJavaName() const override;
    bool isAliasOrName(const char* name) const override;
    bool isKindOfUtf8() const override;
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
