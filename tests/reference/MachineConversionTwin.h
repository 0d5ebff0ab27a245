// The machines' whole-buffer conversions to UTF-8 as they were before the
// direct table reads: every byte goes through processByte, the output is
// appended per character, runs of plain ASCII are copied but for their last
// byte. Kept as the plain twin that the tests compare the library's
// conversions with, for any starting machine.
#ifndef CHARSETKIT_TESTS_REFERENCE_MACHINECONVERSIONTWIN_H
#define CHARSETKIT_TESTS_REFERENCE_MACHINECONVERSIONTWIN_H

#include <charsetkit/detectors/EucJpDetectorSM.h>
#include <charsetkit/detectors/JisDetectorSM.h>
#include <charsetkit/detectors/SjisDetectorSM.h>
#include <charsetkit/japanese/JapaneseConversions.h>

#include "detectors/JapaneseDrivers.h"
#include "detectors/JapaneseOutput.h"

#include <string>

namespace charsetkit {
namespace twin {

inline void convert(SjisDetectorSM& m, const std::string& input, std::string& result,
                    bool& unmapped, bool useReplacement) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(input.data());
    const auto length = static_cast<unsigned int>(input.size());
    unsigned int pending = 0;
    for (unsigned int i = 0; i < length; ++i) {
        const unsigned char byte = bytes[i];
        const bool failedBefore = m.m_error;
        m.SjisDetectorSM::processByte(byte, false);
        if (m.m_error) {
            detail::appendLatin1Range(bytes + (failedBefore ? i : pending), bytes + i + 1, result);
            continue;
        }
        switch (m.m_state) {
        case 0: // SingleByte
            detail::appendLatin1(byte, result);
            i += detail::copyPlainAsciiRun(bytes, i + 1, length, result);
            break;
        case 1: // Kana
            detail::appendCodePoint(
                JapaneseConversions::jis0201ToUnicodeFix(byte, useReplacement, unmapped), result);
            break;
        case 5: // DoubleByte
            detail::appendCodePoint(
                JapaneseConversions::jis0208ToUnicodeFix(
                    JapaneseConversions::sjisToJis(m.m_firstByte, byte), useReplacement, unmapped),
                result);
            break;
        default: // Lead
            continue;
        }
        pending = i + 1;
    }
}

inline void convert(EucJpDetectorSM& m, const std::string& input, std::string& result,
                    bool& unmapped, bool useReplacement) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(input.data());
    const auto length = static_cast<unsigned int>(input.size());
    unsigned int pending = 0;
    for (unsigned int i = 0; i < length; ++i) {
        const unsigned char byte = bytes[i];
        const bool failedBefore = m.m_error;
        m.EucJpDetectorSM::processByte(byte, false);
        if (m.m_error) {
            detail::appendLatin1Range(bytes + (failedBefore ? i : pending), bytes + i + 1, result);
            continue;
        }
        switch (m.m_state) {
        case 0: // SingleByte
            detail::appendLatin1(byte, result);
            i += detail::copyPlainAsciiRun(bytes, i + 1, length, result);
            break;
        case 2: // Jis0208
            detail::appendCodePoint(
                JapaneseConversions::jis0208ToUnicodeFix(m.m_firstByte * 256 + byte - 0x8080,
                                                         useReplacement, unmapped),
                result);
            break;
        case 4: // Kana
            detail::appendCodePoint(
                JapaneseConversions::jis0201ToUnicodeFix(byte, useReplacement, unmapped), result);
            break;
        case 7: // Jis0212
            detail::appendCodePoint(
                JapaneseConversions::jis0212ToUnicodeFix(m.m_firstByte * 256 + byte - 0x8080,
                                                         useReplacement, unmapped),
                result);
            break;
        default: // inside a character
            continue;
        }
        pending = i + 1;
    }
}

inline void convert(JisDetectorSM& m, const std::string& input, std::string& result, bool& unmapped,
                    bool useReplacement) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(input.data());
    const auto length = static_cast<unsigned int>(input.size());
    unsigned int pending = 0;
    for (unsigned int i = 0; i < length; ++i) {
        const unsigned char byte = bytes[i];
        const bool failedBefore = m.m_error;
        m.JisDetectorSM::processByte(byte, false);
        if (m.m_error) {
            detail::appendLatin1Range(bytes + (failedBefore ? i : pending), bytes + i + 1, result);
            continue;
        }
        switch (m.m_state) {
        case 1: { // SingleByte
            detail::appendLatin1(byte, result);
            const unsigned int skip = detail::copyPlainAsciiRun(bytes, i + 1, length, result);
            detail::addJisCharacters(m, skip);
            i += skip;
            break;
        }
        case 8: // KanaChar
            detail::appendCodePoint(
                JapaneseConversions::jis0201ToUnicodeFix(byte + 0x80, useReplacement, unmapped),
                result);
            break;
        case 9:  // Jis1978Char
        case 10: // Jis1983Char
            detail::appendCodePoint(JapaneseConversions::jis0208ToUnicodeFix(
                                        m.m_firstByte * 256 + byte, useReplacement, unmapped),
                                    result);
            break;
        case 11: // Jis0212Char
            detail::appendCodePoint(JapaneseConversions::jis0212ToUnicodeFix(
                                        m.m_firstByte * 256 + byte, useReplacement, unmapped),
                                    result);
            break;
        case 12: // first bytes of characters and escape sequences
        case 13:
        case 14:
        case 15:
        case 16:
        case 17:
        case 18:
            continue;
        default: // a completed designation leaves no trace
            break;
        }
        pending = i + 1;
    }
}

} // namespace twin
} // namespace charsetkit

#endif
