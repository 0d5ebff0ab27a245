// Output helpers shared by the conversions of the Japanese detectors: the
// reservation made before a conversion and the writing of code points and
// of bytes read as ISO-8859-1.
#ifndef CHARSETKIT_SRC_DETECTORS_JAPANESEOUTPUT_H
#define CHARSETKIT_SRC_DETECTORS_JAPANESEOUTPUT_H

#include "detectors/JapaneseDrivers.h"
#include "utilities/Utf8Codec.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace charsetkit {
namespace detail {

/// Reserves room for twice the input length unless `result` already has more,
/// so that the output rarely has to grow while characters are appended.
inline void reserveForConversion(std::string& result, unsigned int length) {
    const std::size_t wanted = static_cast<std::size_t>(length) * 2U;
    if (result.capacity() <= wanted) {
        result.reserve(wanted);
    }
}

/// Appends a code point (a tagged code of an unmapped character included,
/// which becomes a five-byte sequence).
inline void appendCodePoint(int codePoint, std::string& result) {
    utf8::append(static_cast<std::uint32_t>(codePoint), result);
}

/// Appends a byte as the code point of the same value: bytes below 0x80 stay
/// as they are, the others become two bytes.
inline void appendLatin1(unsigned char byte, std::string& result) {
    if (byte < 0x80) {
        result.push_back(static_cast<char>(byte));
    } else {
        result.push_back(static_cast<char>(0xC0 | (byte >> 6)));
        result.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
    }
}

/// Appends the bytes [first, last) read as ISO-8859-1.
inline void appendLatin1Range(const unsigned char* first, const unsigned char* last,
                              std::string& result) {
    for (; first != last; ++first) {
        appendLatin1(*first, result);
    }
}

/// Appends the plain ASCII from index `i` on but its last byte, which the
/// caller feeds to its machine, and returns how many bytes it appended.
inline unsigned int copyPlainAsciiRun(const unsigned char* bytes, unsigned int i,
                                      unsigned int length, std::string& result) {
    const unsigned int skip = plainAsciiRunToSkip(bytes, i, length);
    result.append(reinterpret_cast<const char*>(bytes + i), skip);
    return skip;
}

} // namespace detail
} // namespace charsetkit

#endif
