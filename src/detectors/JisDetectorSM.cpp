#include <charsetkit/detectors/JisDetectorSM.h>

#include "utilities/MissingInput.h"

#include <charsetkit/japanese/JapaneseConversions.h>

#include "detectors/JapaneseOutput.h"
#include "detectors/JisStates.h"
#include "utilities/Settings.h"

#include <climits>

namespace charsetkit {

namespace {

using namespace detail::jis_states;

constexpr unsigned char kEsc = 0x1B;

} // namespace

void JisDetectorSM::designate(int state) {
    m_confirmed = true;
    m_state = state;
    if (m_designation == state) {
        m_redundantEscape = true;
    }
    m_designation = state;
    if (m_charsSinceEscape == 0) {
        // Only "zero or more" matters; saturate instead of overflowing.
        if (m_escapeRun < INT_MAX) {
            ++m_escapeRun;
        }
    } else {
        m_escapeRun = 0;
        m_charsSinceEscape = 0;
    }
}

void JisDetectorSM::fail(int state) {
    m_error = true;
    m_state = state;
    m_inChar = false;
}

bool JisDetectorSM::isValidJisByte(unsigned char byte) const {
    if (byte >= 0x21 && byte <= 0x7E) {
        return true;
    }
    return byte >= 0x93 && byte <= 0x97 && settings::supportJisExtendedRange();
}

void JisDetectorSM::processByte(unsigned char byte, bool verifyCharacters) {
    // Counts a character read since the last designation. Only whether the
    // count is zero matters, so it saturates instead of overflowing.
    const auto countChar = [this]() {
        if (m_charsSinceEscape < INT_MAX) {
            ++m_charsSinceEscape;
        }
    };

    switch (m_state) {
    case AsciiDesignated:
    case SingleByte:
    case RomanDesignated:
    case Unused:
    case BadEsc:
    case BadEscSecond:
    case BadEscThird:
        // Single-byte text: ESC starts an escape sequence; bytes from 0x80 up,
        // SO and SI fail; any other byte is a character.
        if (byte == kEsc) {
            m_state = Esc;
            m_inChar = true;
        } else if (byte >= 0x80 || byte == 0x0E || byte == 0x0F) {
            fail(SingleByte);
        } else {
            m_state = SingleByte;
            countChar();
            m_inChar = false;
        }
        return;

    case KanaDesignated:
    case KanaChar:
        // Katakana mode: every byte but ESC is a character; only 0x21-0x5F
        // are valid ones.
        if (byte == kEsc) {
            m_state = Esc;
            m_inChar = true;
            return;
        }
        m_state = KanaChar;
        countChar();
        m_firstByte = byte;
        m_inChar = false;
        if (byte < 0x21 || byte > 0x5F) {
            m_error = true;
        }
        return;

    case Jis1978Designated:
    case Jis1978Char:
    case Jis1983Designated:
    case Jis1983Char:
    case Jis0212Designated:
    case Jis0212Char:
        // Between double-byte characters: ESC starts an escape sequence; any
        // other byte is the first byte of a character.
        if (byte == kEsc) {
            m_state = Esc;
            m_inChar = true;
            return;
        }
        if (m_state == Jis1978Designated || m_state == Jis1978Char) {
            m_state = Jis1978First;
        } else if (m_state == Jis1983Designated || m_state == Jis1983Char) {
            m_state = Jis1983First;
        } else {
            m_state = Jis0212First;
        }
        m_firstByte = byte;
        m_inChar = true;
        if (!isValidJisByte(byte)) {
            m_error = true;
        }
        return;

    case Jis1978First:
    case Jis1983First:
    case Jis0212First: {
        // Second byte of a double-byte character. ESC here fails, but still
        // starts an escape sequence.
        if (byte == kEsc) {
            m_error = true;
            m_state = Esc;
            m_inChar = true;
            return;
        }
        const bool supplementary = m_state == Jis0212First;
        m_state = m_state == Jis1978First   ? Jis1978Char
                  : m_state == Jis1983First ? Jis1983Char
                                            : Jis0212Char;
        countChar();
        m_inChar = false;
        if (verifyCharacters && !JapaneseConversions::verifyJis(m_firstByte, byte, supplementary)) {
            m_error = true;
        }
        if (!isValidJisByte(byte)) {
            m_error = true;
        }
        return;
    }

    case Esc:
        if (byte == 0x24) { // $
            m_state = EscDollar;
            m_inChar = true;
        } else if (byte == 0x28) { // (
            m_state = EscParen;
            m_inChar = true;
        } else {
            fail(BadEsc);
        }
        return;

    case EscDollar:
        if (byte == 0x28) { // (
            m_state = EscDollarParen;
            m_inChar = true;
        } else if (byte == 0x40) { // @
            designate(Jis1978Designated);
            m_inChar = true;
        } else if (byte == 0x42) { // B
            designate(Jis1983Designated);
            m_inChar = true;
        } else {
            fail(BadEscSecond);
        }
        return;

    case EscParen:
        if (byte == 0x42) { // B
            designate(AsciiDesignated);
            m_inChar = false;
        } else if (byte == 0x49) { // I
            designate(KanaDesignated);
            m_inChar = true;
        } else if (byte == 0x4A) { // J
            designate(RomanDesignated);
            m_inChar = false;
        } else {
            fail(BadEscSecond);
        }
        return;

    case EscDollarParen:
        if (byte == 0x44) { // D
            designate(Jis0212Designated);
            m_inChar = true;
        } else {
            fail(BadEscThird);
        }
        return;

    default:
        // m_state is a public field; a value no transition produces is read
        // as single-byte text so that the machine stays defined.
        m_state = SingleByte;
        processByte(byte, verifyCharacters);
        return;
    }
}

bool JisDetectorSM::isValidEndState() {
    return m_state >= AsciiDesignated && m_state <= Unused;
}

bool JisDetectorSM::convertToUtf8(const char* buffer, unsigned int length, std::string& result,
                                  bool& unmapped, bool useReplacement) {
    if (detail::isMissingInput(buffer, length)) {
        return false;
    }
    detail::reserveForConversion(result, length);
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer);
    // Index of the first byte of the character or escape sequence being
    // read: the bytes from there on have been consumed without output yet.
    unsigned int pending = 0;
    for (unsigned int i = 0; i < length; ++i) {
        const unsigned char byte = bytes[i];
        const bool failedBefore = m_error;
        JisDetectorSM::processByte(byte, false);
        if (m_error) {
            // From the first failure on, the input is read as ISO-8859-1,
            // the bytes of the character or escape sequence it interrupted
            // included.
            detail::appendLatin1Range(bytes + (failedBefore ? i : pending), bytes + i + 1, result);
            continue;
        }
        switch (m_state) {
        case SingleByte: {
            // ASCII and JIS-Roman alike: 0x5C stays U+005C. The plain ASCII
            // that follows is copied and counted, but for its last byte,
            // which goes through the machine.
            detail::appendLatin1(byte, result);
            const unsigned int skip = detail::copyPlainAsciiRun(bytes, i + 1, length, result);
            detail::addJisCharacters(*this, skip);
            i += skip;
            break;
        }
        case KanaChar:
            detail::appendCodePoint(
                JapaneseConversions::jis0201ToUnicodeFix(byte + 0x80, useReplacement, unmapped),
                result);
            break;
        case Jis1978Char:
        case Jis1983Char:
            detail::appendCodePoint(JapaneseConversions::jis0208ToUnicodeFix(
                                        m_firstByte * 256 + byte, useReplacement, unmapped),
                                    result);
            break;
        case Jis0212Char:
            detail::appendCodePoint(JapaneseConversions::jis0212ToUnicodeFix(
                                        m_firstByte * 256 + byte, useReplacement, unmapped),
                                    result);
            break;
        case Jis1978First:
        case Jis1983First:
        case Jis0212First:
        case Esc:
        case EscDollar:
        case EscParen:
        case EscDollarParen:
            continue; // inside a character or an escape sequence
        default:
            break; // a completed designation leaves no trace
        }
        pending = i + 1;
    }
    return true;
}

AbstractEncoding::EncodingID JisDetectorSM::getEncodingID() {
    return AbstractEncoding::Jis;
}

} // namespace charsetkit
