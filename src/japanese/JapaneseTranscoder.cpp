// Conversion from UTF-8 into EUC-JP, Shift_JIS and ISO-2022-JP.
#include <charsetkit/detectors/Utf8DetectorSM.h>
#include <charsetkit/japanese/JapaneseConversions.h>

#include "detectors/AsciiRun.h"
#include "japanese/JapaneseOutputBuffer.h"

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

    for (std::size_t i = 0; i < length; ++i) {
        // Between characters, a run of plain ASCII (no ESC, SO or SI) is
        // copied in one go; the machine is fed only the run's last byte,
        // which leaves it exactly as feeding the whole run would.
        if (!detector.m_inChar && bytes[i] < 0x80) {
            const std::size_t run = detail::plainAsciiRunLength(bytes + i, length - i);
            if (run > 1) {
                output.appendAscii(bytes + i, run - 1);
                i += run - 1;
            }
        }
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
    }

    // A sequence still open here was cut short by the end of the input; it is
    // dropped and the characters before it stand.
    result = output.finish();
    return true;
}

} // namespace charsetkit
