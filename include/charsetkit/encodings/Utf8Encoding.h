#ifndef CHARSETKIT_ENCODINGS_UTF8ENCODING_H
#define CHARSETKIT_ENCODINGS_UTF8ENCODING_H

#include <charsetkit/encodings/AbstractEncoding.h>

namespace charsetkit {

/// UTF-8 (the 31-bit form with sequences of one to six bytes). Objects hold
/// no data; any number of threads may use one.
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
    /// Replaces `result` with the bytes as they are, without validation;
    /// clears `unmapped` and returns true.
    bool convertToUtf8(const char* buffer, unsigned int length, std::string& result, bool& unmapped,
                       bool useReplacement) const override;
    /// Replaces `result` with the bytes as they are and returns true.
    bool convertFromUtf8(const char* buffer, unsigned int length,
                         std::string& result) const override;
    /// True when no byte breaks UTF-8 in its 31-bit form: ESC, SO and SI,
    /// 0x80-0xC1, 0xFE and 0xFF where a character must start, a
    /// non-continuation byte inside a sequence and the overlong forms fail;
    /// surrogates and values above U+10FFFF pass. The buffer may end inside
    /// a sequence: its end is not examined. The flags and the limit do not
    /// apply.
    bool verify(const char* buffer, unsigned int length, bool verifyCharacters,
                bool rejectRedundantEscapes, int escapeRunLimit) const override;
};

} // namespace charsetkit

#endif
