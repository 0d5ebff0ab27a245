#include <charsetkit/detectors/Utf8DetectorSM.h>

namespace charsetkit {

namespace {

// The highest second byte that makes the form overlong after the smallest
// lead byte of each length (E0, F0, F8, FC), indexed by the length.
constexpr unsigned char kOverlongLimit[7] = {0, 0, 0, 0x9F, 0x8F, 0x87, 0x83};

} // namespace

void Utf8DetectorSM::processByte(unsigned char byte, bool verifyCharacters) {
    if (m_expectedLength == 0) {
        // Between characters: the byte is a one-byte character, a lead byte or
        // a failure.
        int length = 0;
        if (byte < 0x80 && byte != 0x0E && byte != 0x0F && byte != 0x1B) {
            m_inChar = false;
            m_lastCharLength = 1;
            return;
        }
        if (byte >= 0xC2 && byte <= 0xDF) {
            length = 2;
        } else if (byte >= 0xE0 && byte <= 0xEF) {
            length = 3;
        } else if (byte >= 0xF0 && byte <= 0xF7) {
            length = 4;
        } else if (byte >= 0xF8 && byte <= 0xFB) {
            length = 5;
        } else if (byte == 0xFC || byte == 0xFD) {
            length = 6;
        }
        if (length == 0) {
            // ESC, SO, SI, a continuation byte, C0, C1, FE or FF.
            m_error = true;
            m_inChar = false;
            m_checkOverlong = false;
            m_lastCharLength = 0;
            return;
        }
        m_expectedLength = length;
        m_receivedLength = 1;
        m_charBytes[0] = byte;
        m_checkOverlong = byte == 0xE0 || byte == 0xF0 || byte == 0xF8 || byte == 0xFC;
        m_inChar = true;
        return;
    }

    // Inside a character of m_expectedLength bytes. The two lengths are
    // public fields; a pair no byte sequence can produce (a caller wrote
    // them) is taken as "between characters" rather than used as an index.
    const auto expected = static_cast<unsigned int>(m_expectedLength);
    const auto received = static_cast<unsigned int>(m_receivedLength);
    if (expected > 6U || received == 0U || received >= expected) {
        m_expectedLength = 0;
        m_receivedLength = 0;
        Utf8DetectorSM::processByte(byte, verifyCharacters);
        return;
    }
    const int length = m_expectedLength;
    m_charBytes[received] = byte;
    ++m_receivedLength;
    if (byte < 0x80 || byte > 0xBF) {
        // Not a continuation byte: the character is broken and the byte is
        // not read again as the start of a new one.
        m_error = true;
        m_inChar = false;
        m_lastCharLength = length;
        m_expectedLength = 0;
        m_receivedLength = 0;
        return;
    }
    if (m_checkOverlong && m_receivedLength == 2 && byte <= kOverlongLimit[length]) {
        m_error = true; // overlong form; the character is still read to its end
    }
    if (m_receivedLength < length) {
        m_inChar = true;
        return;
    }
    if (verifyCharacters && !verifyChar(m_charBytes, length)) {
        m_error = true;
    }
    m_lastCharLength = length;
    m_expectedLength = 0;
    m_receivedLength = 0;
    m_confirmed = true;
    m_inChar = false;
}

AbstractEncoding::EncodingID Utf8DetectorSM::getEncodingID() {
    return AbstractEncoding::Utf8;
}

bool Utf8DetectorSM::verifyChar(const unsigned char* /*bytes*/, int /*length*/) {
    return true;
}

} // namespace charsetkit
