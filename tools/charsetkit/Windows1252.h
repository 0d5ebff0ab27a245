#ifndef CHARSETKIT_TOOL_WINDOWS1252_H
#define CHARSETKIT_TOOL_WINDOWS1252_H

// The Western conversions of the tool: ISO-8859-1 text read and written as
// Windows-1252, its superset of printable characters.

#include <cstddef>
#include <string>

namespace charsetkit {
namespace tool {

/// The ISO-8859-1 / Windows-1252 bytes as UTF-8: 0x80-0x9F as Windows-1252
/// (the five bytes it leaves undefined as the C1 controls of ISO-8859-1),
/// 0xA0-0xFF as ISO-8859-1. Appends to `out`.
void westernToUtf8(const char* data, std::size_t size, std::string& out);

/// UTF-8 to Windows-1252. False with `failedAt` set to the byte offset of
/// the first character it cannot write (or of invalid UTF-8).
bool utf8ToWestern(const char* data, std::size_t size, std::string& out, std::size_t& failedAt);

} // namespace tool
} // namespace charsetkit

#endif
