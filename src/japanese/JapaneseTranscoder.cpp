// Conversion from UTF-8 into EUC-JP, Shift_JIS and ISO-2022-JP.
#include <charsetkit/detectors/Utf8DetectorSM.h>
#include <charsetkit/japanese/JapaneseConversions.h>

#include "japanese/JapaneseOutputBuffer.h"
#include "utilities/AsciiRun.h"

#include <cstddef>

namespace charsetkit {

bool JapaneseConversions::utf8ToJapanese(const char* buffer, unsigned int length,
                                         AbstractEncoding::EncodingID target, std::string& result) {
    return detail::utf8ToJapanese(buffer, length, target, result, detail::BlockScan::best());
}

bool detail::utf8ToJapanese(const char* buffer, unsigned int length,
                            AbstractEncoding::EncodingID target, std::string& result,
                            BlockScan scan) {
    if (!JapaneseOutputBuffer::isSupportedTarget(target) || (buffer == nullptr && length != 0)) {
        return false;
    }

    // The UTF-8 machine cuts the input into characters and rejects invalid
    // sequences, overlong forms and the ISO-2022 control bytes ESC, SO and SI,
    // so no escape or shift byte of the input can reach the output. Between
    // characters the output buffer first takes whatever it can write
    // directly (plain ASCII and characters whose code no switch changes);
    // the machine reads the character where it stops, after which the
    // direct writing resumes.
    Utf8DetectorSM detector;
    JapaneseOutputBuffer output(target, length, scan);
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer);

    std::size_t i = 0;
    while (i < length) {
        i = output.appendDirect(bytes, i, length);
        if (i == length) {
            break;
        }
        // Called without virtual dispatch: the machine's type is known here.
        do {
            detector.Utf8DetectorSM::processByte(bytes[i], true);
            ++i;
            if (detector.m_error) {
                return false;
            }
        } while (detector.m_inChar && i < length);
        if (detector.m_inChar) {
            break;
        }
        // The machine completed a character of m_lastCharLength bytes, whose
        // bytes it kept in m_charBytes.
        const int charLength = detector.m_lastCharLength;
        if (charLength == 1) {
            output.appendByte(bytes[i - 1]);
            continue;
        }
        // Four bytes and more: beyond the Basic Multilingual Plane, which no
        // Japanese set reaches.
        if (charLength > 3) {
            return false;
        }
        JapaneseConversions::CharsetVersion set = JapaneseConversions::CharsetAscii;
        const int code = JapaneseConversions::utf8ToJis(detector.m_charBytes, charLength, set);
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
