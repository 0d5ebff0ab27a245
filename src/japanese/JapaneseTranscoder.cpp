// Conversion from UTF-8 into EUC-JP, Shift_JIS and ISO-2022-JP.
#include <charsetkit/detectors/Utf8DetectorSM.h>
#include <charsetkit/japanese/JapaneseConversions.h>

#include "japanese/JapaneseOutputBuffer.h"
#include "utilities/AsciiRun.h"

#include <cstddef>

namespace charsetkit {

bool JapaneseConversions::utf8ToJapanese(const char* buffer, unsigned int length,
                                         AbstractEncoding::EncodingID target, std::string& result) {
    if (!JapaneseOutputBuffer::isSupportedTarget(target) || (buffer == nullptr && length != 0)) {
        return false;
    }

    // The UTF-8 machine cuts the input into characters and rejects invalid
    // sequences, overlong forms and the ISO-2022 control bytes ESC, SO and SI,
    // so no escape or shift byte of the input can reach the output.
    Utf8DetectorSM detector;
    JapaneseOutputBuffer output(target, length);
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer);

    // Copies a run of plain ASCII (no ESC, SO or SI) that starts at `start`
    // between characters, all but its last byte, and returns the position of
    // that last byte. Feeding the machine that byte alone leaves it exactly as
    // feeding the whole run would.
    const auto skipAsciiRun = [&](std::size_t start) {
        const std::size_t run = detail::plainAsciiRunLength(bytes + start, length - start);
        if (run <= 1) {
            return start;
        }
        output.appendAscii(bytes + start, run - 1);
        return start + run - 1;
    };

    // Runs are looked for only where a character may start after a
    // multi-byte character (and at the start): after a run the next byte is
    // never plain ASCII, and inside Japanese text the check costs one compare
    // per character.
    std::size_t i = length != 0 && bytes[0] < 0x80 ? skipAsciiRun(0) : 0;
    for (; i < length; ++i) {
        const unsigned char byte = bytes[i];
        // Called without virtual dispatch: the machine's type is known here.
        detector.Utf8DetectorSM::processByte(byte, true);
        if (detector.m_error) {
            return false;
        }
        if (detector.m_inChar) {
            continue;
        }
        // `byte` completed a character of m_lastCharLength bytes, whose
        // bytes the machine kept in m_charBytes.
        const int charLength = detector.m_lastCharLength;
        if (charLength == 1) {
            output.appendByte(byte);
            continue;
        }
        // Four bytes and more: beyond the Basic Multilingual Plane, which no
        // Japanese set reaches.
        if (charLength > 3) {
            return false;
        }
        CharsetVersion set = CharsetAscii;
        const int code = utf8ToJis(detector.m_charBytes, charLength, set);
        if (code == 0) {
            return false;
        }
        if (!output.appendJis(static_cast<unsigned char>((code >> 8) & 0xFF),
                              static_cast<unsigned char>(code & 0xFF), set)) {
            return false;
        }
        if (i + 1 < length && bytes[i + 1] < 0x80) {
            i = skipAsciiRun(i + 1) - 1;
        }
    }

    // A sequence still open here was cut short by the end of the input; it is
    // dropped and the characters before it stand.
    result = output.finish();
    return true;
}

} // namespace charsetkit
