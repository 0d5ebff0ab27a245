// A deliberately plain conversion from UTF-8 into the Japanese encodings: every
// byte goes through the UTF-8 machine and every character through
// appendByte / appendJis, with no ASCII run copying. Tests compare the
// library's conversion with it.
#ifndef CHARSETKIT_TESTS_REFERENCE_REFERENCETRANSCODER_H
#define CHARSETKIT_TESTS_REFERENCE_REFERENCETRANSCODER_H

#include <charsetkit/detectors/Utf8DetectorSM.h>
#include <charsetkit/japanese/JapaneseConversions.h>

#include "japanese/JapaneseOutputBuffer.h"

#include <optional>
#include <string>

namespace charsetkit {
namespace reference {

inline std::optional<std::string> utf8ToJapanese(const std::string& input,
                                                 AbstractEncoding::EncodingID target) {
    if (!JapaneseOutputBuffer::isSupportedTarget(target)) {
        return std::nullopt;
    }
    Utf8DetectorSM detector;
    JapaneseOutputBuffer output(target, input.size());
    for (char c : input) {
        const auto byte = static_cast<unsigned char>(c);
        detector.processByte(byte, true);
        if (detector.m_error) {
            return std::nullopt;
        }
        if (detector.m_inChar) {
            continue;
        }
        if (detector.m_lastCharLength == 1) {
            output.appendByte(byte);
            continue;
        }
        if (detector.m_lastCharLength > 3) {
            return std::nullopt;
        }
        JapaneseConversions::CharsetVersion set = JapaneseConversions::CharsetAscii;
        const int code =
            JapaneseConversions::utf8ToJis(detector.m_charBytes, detector.m_lastCharLength, set);
        if (code == 0 || !output.appendJis(static_cast<unsigned char>(code >> 8),
                                           static_cast<unsigned char>(code & 0xFF), set)) {
            return std::nullopt;
        }
    }
    return output.finish();
}

} // namespace reference
} // namespace charsetkit

#endif
