#ifndef CHARSETKIT_TOOL_UTF8_H
#define CHARSETKIT_TOOL_UTF8_H

// Small UTF-8 helpers for the tool's messages and its Western conversions.

#include <cstddef>
#include <string>

namespace charsetkit {
namespace tool {

/// Length of the well-formed UTF-8 character at data[0] (1-4), or 0.
std::size_t utf8CharLength(const char* data, std::size_t size);

/// The code point of the well-formed character of `length` bytes at `data`.
unsigned int utf8CodePoint(const char* data, std::size_t length);

/// Appends the UTF-8 form of a code point below U+10000.
void appendUtf8(unsigned int codePoint, std::string& out);

/// "U+XXXX" for a code point.
std::string codePointName(unsigned int codePoint);

} // namespace tool
} // namespace charsetkit

#endif
