#ifndef CHARSETKIT_ENCODINGS_JISENCODING_H
#define CHARSETKIT_ENCODINGS_JISENCODING_H

#include <charsetkit/encodings/AbstractEncoding.h>

namespace charsetkit {

/// ISO-2022-JP with JIS X 0212: ASCII and JIS-Roman single-byte text,
/// switched by designation escapes (ESC ( B, ESC ( J, ESC ( I, ESC $ @,
/// ESC $ B, ESC $ ( D) to half-width katakana or to two-byte characters of
/// JIS X 0208 or JIS X 0212 (bytes 0x21-0x7E). Objects hold no data; any
/// number of threads may use one.
class CHARSETKIT_EXPORT JisEncoding : public AbstractEncoding {
public:
    const char* getDisplayName() const override;
    const char* getPreferedID() const override;
    const char* getJavaName() const override;
    bool isAliasOrName(const char* name) const override;
    bool isStateful() const override;
    AbstractTraverser* getExactEncodingTraverser() const override;
    /// Replaces `result` (its storage included) with the text as UTF-8 and
    /// returns true: conversion never fails on present input. Characters are
    /// read as verify() with `verifyCharacters` false reads them; from the
    /// first byte that does not fit the encoding on, everything that follows,
    /// the bytes of the character it interrupted included, is carried over as
    /// ISO-8859-1 (each byte becomes the code point of its value). A
    /// character cut off by the end of the buffer is dropped. A character the
    /// code tables do not map sets `unmapped` (never cleared) and becomes
    /// U+30FB when `useReplacement` is true, otherwise its JIS code tagged
    /// with its set (0xFA0000 JIS X 0201, 0xFB0000 JIS X 0208, 0xFC0000
    /// JIS X 0212), written as a five-byte UTF-8 sequence. The code page 932
    /// extensions, single-byte katakana, JIS X 0212 and the extended rows
    /// follow the JapaneseLocale switches as they are at the call.
    bool convertToUtf8(const char* buffer, unsigned int length, std::string& result, bool& unmapped,
                       bool useReplacement) const override;
    /// Converts UTF-8 into this encoding, all or nothing: true with `result`
    /// replaced by the whole text, or false with `result` untouched when the
    /// input is not valid UTF-8, holds ESC, SO or SI, or holds a character
    /// beyond the Basic Multilingual Plane or without a code in this
    /// encoding. A UTF-8 sequence cut short at the end is dropped.
    bool convertFromUtf8(const char* buffer, unsigned int length,
                         std::string& result) const override;
    /// True when the text follows the escape and byte layout and ends in
    /// ASCII or JIS-Roman mode with no character or escape sequence open;
    /// with `verifyCharacters`, every pair must also name a character of the
    /// designated set. With `rejectRedundantEscapes`, a designation of the
    /// set already in force fails; designation escapes completed in a row
    /// with no character between them fail once they reach `escapeRunLimit`
    /// (a limit of 0 or less fails on the first byte).
    bool verify(const char* buffer, unsigned int length, bool verifyCharacters,
                bool rejectRedundantEscapes, int escapeRunLimit) const override;
};

} // namespace charsetkit

#endif
