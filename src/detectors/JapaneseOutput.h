// Output helpers shared by the conversions of the Japanese detectors: the
// reservation made before a conversion and the writing of code points and
// of bytes read as ISO-8859-1.
#ifndef CHARSETKIT_SRC_DETECTORS_JAPANESEOUTPUT_H
#define CHARSETKIT_SRC_DETECTORS_JAPANESEOUTPUT_H

#include "detectors/JapaneseDrivers.h"
#include "encodings/Utf8Codec.h"

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

/// What a machine's conversion made of a byte that did not fail it.
enum class ByteOutcome {
    Pending, // the byte belongs to a character or escape sequence still open
    Written  // the character (or designation) is complete and was written
};

/// The conversion loop of the Japanese machines. Each byte goes to the
/// machine's own processByte (no virtual call); `emit(byte, i)` writes what
/// the machine's state after a good byte stands for and may advance `i` past
/// a run it copied itself. From the first failure on, every byte is written
/// as ISO-8859-1, and so are the bytes of the character or escape sequence
/// that the failure interrupted, which were read but not yet written.
template <class Machine, class Emit>
void convertWithMachine(Machine& machine, const char* buffer, unsigned int length,
                        std::string& result, Emit emit) {
    reserveForConversion(result, length);
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer);
    // Index of the first byte read but not yet written.
    unsigned int pending = 0;
    for (unsigned int i = 0; i < length; ++i) {
        const unsigned char byte = bytes[i];
        const bool failedBefore = machine.m_error;
        machine.Machine::processByte(byte, false);
        if (machine.m_error) {
            appendLatin1Range(bytes + (failedBefore ? i : pending), bytes + i + 1, result);
            continue;
        }
        if (emit(byte, i) == ByteOutcome::Written) {
            pending = i + 1;
        }
    }
}

} // namespace detail
} // namespace charsetkit

#endif
