#include <charsetkit/detectors/EucJpDetectorSM.h>

#include "utilities/MissingInput.h"

#include <charsetkit/japanese/JapaneseConversions.h>

#include "detectors/JapaneseOutput.h"
#include "utilities/Settings.h"

namespace charsetkit {

namespace {

enum : int {
    SingleByte = 0,    // after a one-byte character below 0x80 (initial)
    Jis0208First = 1,  // after the first byte of a JIS X 0208 pair
    Jis0208 = 2,       // after a JIS X 0208 pair
    KanaPrefix = 3,    // after 0x8E
    Kana = 4,          // after a half-width katakana
    Jis0212Prefix = 5, // after 0x8F
    Jis0212First = 6,  // after the first byte of a JIS X 0212 pair
    Jis0212 = 7        // after a JIS X 0212 three-byte character
};

bool isPairByte(unsigned char byte) {
    return byte >= 0xA1 && byte <= 0xFE;
}

} // namespace

void EucJpDetectorSM::processByte(unsigned char byte, bool verifyCharacters) {
    switch (m_state) {
    case Jis0208First:
        // Second byte of a JIS X 0208 pair: 0xA1-0xFE completes it; any other
        // byte fails. Either way the pair is over.
        m_state = Jis0208;
        m_inChar = false;
        if (!isPairByte(byte)) {
            m_error = true;
        } else {
            m_confirmed = true;
            if (verifyCharacters && !JapaneseConversions::verifyEuc(m_firstByte, byte, false)) {
                m_error = true;
            }
        }
        return;
    case KanaPrefix:
        // After 0x8E: 0xA1-0xDF is a half-width katakana; any other byte fails.
        m_state = Kana;
        m_inChar = false;
        if (byte >= 0xA1 && byte <= 0xDF) {
            m_confirmed = true;
        } else {
            m_error = true;
        }
        return;
    case Jis0212Prefix:
        // After 0x8F: 0xA1-0xFE starts the JIS X 0212 pair; any other byte
        // fails and the machine stands between characters again.
        if (isPairByte(byte)) {
            m_state = Jis0212First;
            m_firstByte = byte;
            m_inChar = true;
        } else {
            m_state = SingleByte;
            m_error = true;
            m_inChar = false;
        }
        return;
    case Jis0212First:
        // Third byte of a JIS X 0212 character, as for a JIS X 0208 pair.
        m_state = Jis0212;
        m_inChar = false;
        if (!isPairByte(byte)) {
            m_error = true;
        } else {
            m_confirmed = true;
            if (verifyCharacters && !JapaneseConversions::verifyEuc(m_firstByte, byte, true)) {
                m_error = true;
            }
        }
        return;
    default:
        break;
    }

    // Between characters (SingleByte, Jis0208, Kana, Jis0212).
    if (byte < 0x80 && byte != 0x0E && byte != 0x0F && byte != 0x1B) {
        m_state = SingleByte;
        m_inChar = false;
    } else if (isPairByte(byte)) {
        m_state = Jis0208First;
        m_firstByte = byte;
        m_inChar = true;
    } else if (byte == 0x8E) {
        m_state = KanaPrefix;
        m_inChar = true;
        if (!settings::supportSingleByteKana()) {
            m_error = true;
        }
    } else if (byte == 0x8F) {
        m_state = Jis0212Prefix;
        m_inChar = true;
        if (!settings::supportSupplementaryKanji()) {
            m_error = true;
        }
    } else {
        // ESC, SO, SI, 0x80-0x8D, 0x90-0xA0 and 0xFF.
        m_state = SingleByte;
        m_error = true;
        m_inChar = false;
    }
}

bool EucJpDetectorSM::convertToUtf8(const char* buffer, unsigned int length, std::string& result,
                                    bool& unmapped, bool useReplacement) {
    if (detail::isMissingInput(buffer, length)) {
        return false;
    }
    detail::reserveForConversion(result, length);
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer);
    // Index of the first byte of the character being read: the bytes from
    // there on have been consumed without output yet.
    unsigned int pending = 0;
    for (unsigned int i = 0; i < length; ++i) {
        const unsigned char byte = bytes[i];
        const bool failedBefore = m_error;
        EucJpDetectorSM::processByte(byte, false);
        if (m_error) {
            // From the first failure on, the input is read as ISO-8859-1,
            // the bytes of the character it interrupted included.
            detail::appendLatin1Range(bytes + (failedBefore ? i : pending), bytes + i + 1, result);
            continue;
        }
        switch (m_state) {
        case SingleByte:
            detail::appendLatin1(byte, result);
            // The plain ASCII that follows is copied as it is, but for its
            // last byte, which goes through the machine: a run leaves the
            // machine as its last byte alone would.
            i += detail::copyPlainAsciiRun(bytes, i + 1, length, result);
            break;
        case Jis0208:
            detail::appendCodePoint(
                JapaneseConversions::jis0208ToUnicodeFix(m_firstByte * 256 + byte - 0x8080,
                                                         useReplacement, unmapped),
                result);
            break;
        case Kana:
            detail::appendCodePoint(
                JapaneseConversions::jis0201ToUnicodeFix(byte, useReplacement, unmapped), result);
            break;
        case Jis0212:
            detail::appendCodePoint(
                JapaneseConversions::jis0212ToUnicodeFix(m_firstByte * 256 + byte - 0x8080,
                                                         useReplacement, unmapped),
                result);
            break;
        default: // inside a character
            continue;
        }
        pending = i + 1;
    }
    return true;
}

AbstractEncoding::EncodingID EucJpDetectorSM::getEncodingID() {
    return AbstractEncoding::EucJp;
}

} // namespace charsetkit
