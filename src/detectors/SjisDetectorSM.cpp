#include <charsetkit/detectors/SjisDetectorSM.h>

#include "utilities/MissingInput.h"

#include <charsetkit/japanese/JapaneseConversions.h>

#include "detectors/JapaneseOutput.h"
#include "utilities/Settings.h"

namespace charsetkit {

namespace {

enum : int {
    SingleByte = 0, // after a one-byte character below 0x80 (initial)
    Kana = 1,       // after a single-byte katakana 0xA1-0xDF
    Lead = 2,       // after a lead byte, waiting for its trail
    BadLead = 3,    // failed on a byte that cannot start a character
    BadTrail = 4,   // failed on the byte after a lead byte
    DoubleByte = 5  // after a complete double-byte character
};

bool isLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool isTrailByte(unsigned char byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

} // namespace

void SjisDetectorSM::processByte(unsigned char byte, bool verifyCharacters) {
    if (m_state == Lead) {
        // After a lead byte: 0x40-0x7E and 0x80-0xFC complete the pair (a pair
        // the tables do not know fails when characters are verified, but still
        // counts as seen); any other byte fails the pair.
        m_inChar = false;
        if (!isTrailByte(byte)) {
            m_error = true;
            m_state = BadTrail;
            return;
        }
        m_confirmed = true;
        if (verifyCharacters && !JapaneseConversions::verifySjis(m_firstByte, byte)) {
            m_error = true;
            m_state = BadTrail;
        } else {
            m_state = DoubleByte;
        }
        return;
    }

    // Between characters (every state but Lead reads the next byte alike).
    if (byte < 0x80 && byte != 0x0E && byte != 0x0F && byte != 0x1B) {
        m_state = SingleByte;
        m_inChar = false;
    } else if (isLeadByte(byte)) {
        m_state = Lead;
        m_firstByte = byte;
        m_inChar = true;
    } else if (byte >= 0xA1 && byte <= 0xDF && settings::supportSingleByteKana()) {
        m_state = Kana;
        m_confirmed = true;
        m_inChar = false;
    } else {
        // ESC, SO, SI, 0x80, 0xA0, 0xFD-0xFF, and katakana while disabled.
        m_state = BadLead;
        m_error = true;
        m_inChar = false;
    }
}

bool SjisDetectorSM::convertToUtf8(const char* buffer, unsigned int length, std::string& result,
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
        SjisDetectorSM::processByte(byte, false);
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
        case Kana:
            detail::appendCodePoint(
                JapaneseConversions::jis0201ToUnicodeFix(byte, useReplacement, unmapped), result);
            break;
        case DoubleByte:
            detail::appendCodePoint(
                JapaneseConversions::jis0208ToUnicodeFix(
                    JapaneseConversions::sjisToJis(m_firstByte, byte), useReplacement, unmapped),
                result);
            break;
        default: // Lead: wait for the trail byte
            continue;
        }
        pending = i + 1;
    }
    return true;
}

AbstractEncoding::EncodingID SjisDetectorSM::getEncodingID() {
    return AbstractEncoding::Sjis;
}

} // namespace charsetkit
