#include <charsetkit/encodings/StreamingDecoder.h>

#include <charsetkit/detectors/EucJpDetectorSM.h>
#include <charsetkit/detectors/JisDetectorSM.h>
#include <charsetkit/detectors/SjisDetectorSM.h>
#include <charsetkit/encodings/EucKrEncoding.h>

#include "encodings/StreamSupport.h"
#include "utilities/MissingInput.h"

#include <algorithm>
#include <cstring>

namespace charsetkit {

namespace {

// Appends bytes read as ISO-8859-1: each byte is the code point of its value.
void appendLatin1(const unsigned char* bytes, unsigned int length, std::string& output) {
    for (unsigned int i = 0; i < length; ++i) {
        const unsigned char byte = bytes[i];
        if (byte < 0x80) {
            output.push_back(static_cast<char>(byte));
        } else {
            output.push_back(static_cast<char>(0xC0 | (byte >> 6)));
            output.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
        }
    }
}

// The escape sequence that designates an ISO-2022-JP machine's set, by the
// machine's state number for it; none for the single-byte sets.
const char* designationEscape(int designation) {
    switch (designation) {
    case 4:
        return "\x1B(I";
    case 5:
        return "\x1B$@";
    case 6:
        return "\x1B$B";
    case 7:
        return "\x1B$(D";
    default:
        return "";
    }
}

// The bytes of a character or escape sequence a machine has read without
// finishing it, by its state after the last byte.
unsigned int openBytes(const SjisDetectorSM& machine) {
    return machine.m_state == 2 ? 1u : 0u; // after a lead byte
}

unsigned int openBytes(const EucJpDetectorSM& machine) {
    switch (machine.m_state) {
    case 1: // first byte of a pair
    case 3: // after 0x8E
    case 5: // after 0x8F
        return 1;
    case 6: // 0x8F and the first byte of its pair
        return 2;
    default:
        return 0;
    }
}

unsigned int openBytes(const JisDetectorSM& machine) {
    switch (machine.m_state) {
    case 12: // first byte of a double-byte character
    case 13:
    case 14:
    case 15: // ESC
        return 1;
    case 16: // ESC $ or ESC (
    case 17:
        return 2;
    case 18: // ESC $ (
        return 3;
    default:
        return 0;
    }
}

// Converts with a fresh machine; -1 when the machine failed (the rest of the
// segment then came out as ISO-8859-1), otherwise the bytes left open.
template <typename Machine>
int convertWith(Machine& machine, const unsigned char* bytes, unsigned int length,
                std::string& output, bool& unmapped, bool useReplacement) {
    machine.convertToUtf8(reinterpret_cast<const char*>(bytes), length, output, unmapped,
                          useReplacement);
    if (machine.m_error) {
        return -1;
    }
    return static_cast<int>(openBytes(machine));
}

} // namespace

StreamingDecoder::StreamingDecoder(AbstractEncoding::EncodingID encoding, bool useReplacement)
    : m_encoding(encoding), m_useReplacement(useReplacement) {}

void StreamingDecoder::reset() {
    *this = StreamingDecoder(m_encoding, m_useReplacement);
}

void StreamingDecoder::hold(const unsigned char* bytes, unsigned int count) {
    // Only a character or escape sequence left open is held: three bytes at
    // most.
    m_heldCount = std::min(count, static_cast<unsigned int>(sizeof m_held));
    if (m_heldCount != 0) {
        std::memmove(m_held, bytes, m_heldCount);
    }
}

void StreamingDecoder::fail(std::uint64_t offset) {
    m_failed = true;
    m_failureOffset = offset;
    m_heldCount = 0;
}

bool StreamingDecoder::feed(const char* piece, unsigned int length, bool last,
                            std::string& output) {
    if (m_failed || m_finished || detail::isMissingInput(piece, length)) {
        return false;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(piece);
    bool ok = true;
    switch (m_encoding) {
    case AbstractEncoding::Ascii:
    case AbstractEncoding::Utf8:
        // Both are copied unchanged.
        if (length != 0) {
            output.append(piece, length);
        }
        break;
    case AbstractEncoding::EucJp:
    case AbstractEncoding::Sjis:
    case AbstractEncoding::Jis:
        ok = feedJapanese(bytes, length, output);
        if (last && m_heldCount != 0 && !m_latin1) {
            // A character open at the very end: what the whole-input
            // conversion does with it (it drops it).
            const unsigned char open[4] = {m_held[0], m_held[1], m_held[2], m_held[3]};
            const unsigned int count = m_heldCount;
            m_heldCount = 0;
            convertJapanese(open, count, output);
            m_heldCount = 0;
        }
        break;
    case AbstractEncoding::EucKr:
        ok = feedKorean(bytes, length, last, output);
        break;
    default:
        fail(0);
        return false;
    }
    m_bytesFed += length;
    if (last && ok) {
        m_finished = true;
    }
    return ok;
}

int StreamingDecoder::convertJapanese(const unsigned char* bytes, unsigned int length,
                                      std::string& output) {
    switch (m_encoding) {
    case AbstractEncoding::EucJp: {
        EucJpDetectorSM machine;
        return convertWith(machine, bytes, length, output, m_unmapped, m_useReplacement);
    }
    case AbstractEncoding::Sjis: {
        SjisDetectorSM machine;
        return convertWith(machine, bytes, length, output, m_unmapped, m_useReplacement);
    }
    default: {
        // The set in force at the start of the segment is designated first;
        // an escape sequence leaves no output.
        JisDetectorSM machine;
        for (const char* escape = designationEscape(m_designation); *escape != '\0'; ++escape) {
            machine.processByte(static_cast<unsigned char>(*escape), false);
        }
        const int open = convertWith(machine, bytes, length, output, m_unmapped, m_useReplacement);
        m_designation = machine.m_designation;
        return open;
    }
    }
}

bool StreamingDecoder::feedJapanese(const unsigned char* bytes, unsigned int length,
                                    std::string& output) {
    if (m_latin1) {
        appendLatin1(bytes, length, output);
        return true;
    }
    unsigned int start = 0;
    if (m_heldCount != 0) {
        // Finish the open character with the first bytes of the piece: it
        // closes within three more bytes, and a fresh machine then stands
        // between characters again.
        const unsigned int taken = std::min(length, 4u);
        unsigned char joined[8];
        std::memcpy(joined, m_held, m_heldCount);
        if (taken != 0) {
            std::memcpy(joined + m_heldCount, bytes, taken);
        }
        const unsigned int total = m_heldCount + taken;
        m_heldCount = 0;
        const int open = convertJapanese(joined, total, output);
        if (open < 0) {
            m_latin1 = true;
            appendLatin1(bytes + taken, length - taken, output);
            return true;
        }
        const auto openCount = static_cast<unsigned int>(open);
        if (openCount > taken) {
            // The piece ended before the character did.
            hold(joined + total - openCount, openCount);
            return true;
        }
        start = taken - openCount;
    }
    const int open = convertJapanese(bytes + start, length - start, output);
    if (open < 0) {
        m_latin1 = true;
        return true;
    }
    hold(bytes + length - static_cast<unsigned int>(open), static_cast<unsigned int>(open));
    return true;
}

bool StreamingDecoder::convertKorean(const unsigned char* bytes, unsigned int length,
                                     std::uint64_t offset, std::string& converted) {
    if (length == 0) {
        return true;
    }
    const EucKrEncoding encoding;
    std::string text;
    bool unused = false;
    if (encoding.convertToUtf8(reinterpret_cast<const char*>(bytes), length, text, unused, false)) {
        converted += text;
        return true;
    }
    const unsigned int at =
        detail::failingCharacter(bytes, length, detail::eucKrCharEnd, [&](unsigned int prefix) {
            std::string scratch;
            bool flag = false;
            return encoding.convertToUtf8(reinterpret_cast<const char*>(bytes), prefix, scratch,
                                          flag, false);
        });
    fail(offset + at);
    return false;
}

bool StreamingDecoder::feedKorean(const unsigned char* bytes, unsigned int length, bool last,
                                  std::string& output) {
    // Nothing of a piece reaches `output` unless all of it converts.
    std::string converted;
    unsigned int start = 0;
    if (m_heldCount != 0 && length != 0) {
        const unsigned char pair[2] = {m_held[0], bytes[0]};
        const std::uint64_t offset = m_bytesFed - 1;
        m_heldCount = 0;
        if (!convertKorean(pair, 2, offset, converted)) {
            return false;
        }
        start = 1;
    }
    unsigned int end = start;
    while (end < length) {
        const unsigned int next = detail::eucKrCharEnd(bytes, length, end);
        if (next - end == 1 && bytes[end] >= 0x81 && bytes[end] <= 0xFE) {
            break; // a lead byte whose trail is in the next piece
        }
        end = next;
    }
    if (!convertKorean(bytes + start, end - start, m_bytesFed + start, converted)) {
        return false;
    }
    if (end < length) {
        hold(bytes + end, length - end);
    }
    if (last && m_heldCount != 0) {
        const unsigned char open = m_held[0];
        const std::uint64_t offset = m_bytesFed + length - 1;
        m_heldCount = 0;
        if (!convertKorean(&open, 1, offset, converted)) {
            return false;
        }
    }
    output += converted;
    return true;
}

} // namespace charsetkit
