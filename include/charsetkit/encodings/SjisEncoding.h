#ifndef CHARSETKIT_ENCODINGS_SJISENCODING_H
#define CHARSETKIT_ENCODINGS_SJISENCODING_H

#include <charsetkit/encodings/AbstractEncoding.h>

namespace charsetkit {

/// Shift_JIS with the code page 932 extensions (while
/// JapaneseLocale::getSupportSjisExtensions() is true): ASCII, single-byte
/// katakana 0xA1-0xDF and double-byte characters (lead 0x81-0x9F or
/// 0xE0-0xFC, trail 0x40-0x7E or 0x80-0xFC). Objects hold no data; any
/// number of threads may use one.
class CHARSETKIT_EXPORT SjisEncoding : public AbstractEncoding {
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
    /// True when no byte breaks the Shift_JIS byte layout (ESC, SO and SI
    /// fail too); with `verifyCharacters`, every complete pair must also name
    /// a JIS X 0208 or extension character. The buffer may end after a lead
    /// byte: its end is not examined. The escape limits do not apply.
    bool verify(const char* buffer, unsigned int length, bool verifyCharacters,
                bool rejectRedundantEscapes, int escapeRunLimit) const override;
};

} // namespace charsetkit

#endif
