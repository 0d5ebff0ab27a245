// The plain ASCII prefix, one byte at a time: the twin that the word-at-a-time
// scanner in the library is checked against.
#ifndef CHARSETKIT_TESTS_REFERENCE_PLAINASCIIPREFIXREFERENCE_H
#define CHARSETKIT_TESTS_REFERENCE_PLAINASCIIPREFIXREFERENCE_H

namespace charsetkit {
namespace reference {

inline unsigned int plainAsciiPrefixLength(const char* buffer, unsigned int length) {
    for (unsigned int i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(buffer[i]);
        if (byte >= 0x80 || byte == 0x1B || byte == 0x0E || byte == 0x0F) {
            return i;
        }
    }
    return length;
}

} // namespace reference
} // namespace charsetkit

#endif
