#ifndef CHARSETKIT_ENCODINGS_ASCIIENCODING_H
#define CHARSETKIT_ENCODINGS_ASCIIENCODING_H

#include <charsetkit/encodings/AbstractEncoding.h>

namespace charsetkit {

/// ASCII and the single-byte Western charsets (ISO-8859-1, Windows-1252).
/// Objects hold no data; any number of threads may use one.
class CHARSETKIT_EXPORT AsciiEncoding : public AbstractEncoding {
public:
    /// True when every byte is below 0x80 and none is ESC (0x1B), SO (0x0E)
    /// or SI (0x0F). An empty buffer passes.
    static bool verifyLowAscii(const char* buffer, unsigned int length);

    const char* getDisplayName() const override;
    const char* getPreferedID() const override;
    const char* getJavaName() const override;
    bool isAliasOrName(const char* name) const override;
    bool isKindOfUtf8() const override;
    bool isAscii() const override;
    bool isStateful() const override;
    AbstractTraverser* getExactEncodingTraverser() const override;
    /// Replaces `result` with the bytes as they are (0x80-0xFF are not
    /// re-encoded: the text is taken as it is), clears `unmapped` and returns
    /// true.
    bool convertToUtf8(const char* buffer, unsigned int length, std::string& result, bool& unmapped,
                       bool useReplacement) const override;
    /// Not offered: returns false and leaves `result` untouched.
    bool convertFromUtf8(const char* buffer, unsigned int length,
                         std::string& result) const override;
    /// True when the buffer holds no ESC (0x1B), SO (0x0E) or SI (0x0F);
    /// every other byte, 0x80-0xFF included, is Western text. The flags and
    /// the limit do not apply.
    bool verify(const char* buffer, unsigned int length, bool verifyCharacters,
                bool rejectRedundantEscapes, int escapeRunLimit) const override;
};

} // namespace charsetkit

#endif
