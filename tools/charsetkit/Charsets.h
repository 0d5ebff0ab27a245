#ifndef CHARSETKIT_TOOL_CHARSETS_H
#define CHARSETKIT_TOOL_CHARSETS_H

// What the tool knows about encodings and locales on top of the library:
// resolving labels and locale names given on the command line, the alias
// lists shown by `labels`, the Western conversions and small UTF-8 helpers
// for messages.

#include <charsetkit/charsetkit.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace charsetkit {
namespace tool {

using EncodingId = AbstractEncoding::EncodingID;

/// The encoding object for identifier 1-6 (never null for those).
const AbstractEncoding& encodingFor(EncodingId id);

/// The encoding a charset label names, through the library's alias matching
/// (case-insensitive, whole label), trying the encodings in identifier order;
/// so "x-euc", an alias of both EUC-JP and EUC-KR, names EUC-JP. Throws
/// UsageError for a label that names nothing.
EncodingId resolveLabel(const std::string& label);

/// The preferred charset name of an identifier ("shift_jis").
std::string preferredName(EncodingId id);

/// The identifiers 1 to 6 in order.
std::vector<EncodingId> allEncodings();

/// The charset labels of an encoding, preferred name first, as the library
/// lists them.
std::vector<std::string> aliasesOf(EncodingId id);

/// A locale for "japanese", "korean" or "utf8" (any case) or one of the
/// library's own names ("Japanese", "jp", "Korean", "ko-Kr", "Utf8").
/// Throws UsageError otherwise.
std::unique_ptr<AbstractLocale> resolveLocale(const std::string& name);

/// "local", "utf8" (or "utf-8") or "both", in any case; throws UsageError
/// otherwise.
AbstractLocale::SupportedEncodings resolveSupported(const std::string& name);

/// The ISO-8859-1 / Windows-1252 bytes as UTF-8: 0x80-0x9F as Windows-1252
/// (the five bytes it leaves undefined as the C1 controls of ISO-8859-1),
/// 0xA0-0xFF as ISO-8859-1. Appends to `out`.
void westernToUtf8(const char* data, std::size_t size, std::string& out);

/// UTF-8 to Windows-1252. False with `failedAt` set to the byte offset of
/// the first character it cannot write (or of invalid UTF-8).
bool utf8ToWestern(const char* data, std::size_t size, std::string& out, std::size_t& failedAt);

/// Length of the well-formed UTF-8 character at data[0] (1-4), or 0.
std::size_t utf8CharLength(const char* data, std::size_t size);

/// The code point of the well-formed character of `length` bytes at `data`.
unsigned int utf8CodePoint(const char* data, std::size_t length);

/// "U+XXXX" for a code point.
std::string codePointName(unsigned int codePoint);

} // namespace tool
} // namespace charsetkit

#endif
