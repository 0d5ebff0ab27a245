// Helpers shared by the streaming converters: where characters start in a
// segment of input, and which character makes an all-or-nothing conversion
// fail.
#ifndef CHARSETKIT_SRC_ENCODINGS_STREAMSUPPORT_H
#define CHARSETKIT_SRC_ENCODINGS_STREAMSUPPORT_H

#include <cstddef>
#include <vector>

namespace charsetkit {
namespace detail {

/// The length a UTF-8 lead byte announces: 1 for a byte below 0xC0 (ASCII,
/// or a stray continuation byte read on its own), 2 to 6 otherwise.
inline unsigned int utf8LeadLength(unsigned char byte) {
    if (byte < 0xC0) {
        return 1;
    }
    if (byte < 0xE0) {
        return 2;
    }
    if (byte < 0xF0) {
        return 3;
    }
    if (byte < 0xF8) {
        return 4;
    }
    if (byte < 0xFC) {
        return 5;
    }
    return 6;
}

inline bool isUtf8Continuation(unsigned char byte) {
    return byte >= 0x80 && byte <= 0xBF;
}

/// The number of bytes at the end of the buffer that form a UTF-8 sequence
/// still waiting for its continuation bytes (0 when the buffer ends between
/// sequences or in an invalid one): a lead byte followed only by fewer
/// continuation bytes than it announces.
inline unsigned int openUtf8Tail(const unsigned char* bytes, unsigned int length) {
    const unsigned int lowest = length > 5 ? length - 5 : 0;
    for (unsigned int j = length; j > lowest; --j) {
        const unsigned char byte = bytes[j - 1];
        if (isUtf8Continuation(byte)) {
            continue;
        }
        const unsigned int have = length - (j - 1);
        return byte >= 0xC0 && have < utf8LeadLength(byte) ? have : 0;
    }
    return 0;
}

/// The end of the UTF-8 character (or invalid sequence, or stray byte) that
/// starts at `start`: the lead byte and the continuation bytes it announces,
/// as far as they are there.
inline unsigned int utf8CharEnd(const unsigned char* bytes, unsigned int length,
                                unsigned int start) {
    const unsigned int want = utf8LeadLength(bytes[start]);
    unsigned int end = start + 1;
    while (end < length && end - start < want && isUtf8Continuation(bytes[end])) {
        ++end;
    }
    return end;
}

/// The end of the EUC-KR character that starts at `start`: a byte 0x81-0xFE
/// opens a two-byte character, any other byte stands alone.
inline unsigned int eucKrCharEnd(const unsigned char* bytes, unsigned int length,
                                 unsigned int start) {
    const unsigned char byte = bytes[start];
    const unsigned int end = start + (byte >= 0x81 && byte <= 0xFE ? 2u : 1u);
    return end < length ? end : length;
}

/// The offset of the character at which an all-or-nothing conversion of a
/// segment fails: the start of the first character whose inclusion makes
/// `converts(prefixLength)` false, for a segment known to fail as a whole.
/// `charEnd` splits the segment into characters.
template <typename CharEnd, typename Converts>
unsigned int failingCharacter(const unsigned char* bytes, unsigned int length, CharEnd charEnd,
                              Converts converts) {
    std::vector<unsigned int> ends;
    for (unsigned int i = 0; i < length; i = ends.back()) {
        ends.push_back(charEnd(bytes, length, i));
    }
    // Find the fewest characters whose conversion fails.
    std::size_t low = 0;
    std::size_t high = ends.size();
    if (high == 0) {
        return 0;
    }
    // converts(prefix of `low` characters) holds; `high` characters fail.
    while (high - low > 1) {
        const std::size_t middle = low + (high - low) / 2;
        if (converts(ends[middle - 1])) {
            low = middle;
        } else {
            high = middle;
        }
    }
    return low == 0 ? 0 : ends[low - 1];
}

} // namespace detail
} // namespace charsetkit

#endif
