#include <charsetkit/detectors/JisDetectorSM.h>

#include "utilities/MissingInput.h"

#include <charsetkit/japanese/JapaneseConversions.h>

#include "detectors/JapaneseDrivers.h"
#include "detectors/JapaneseOutput.h"
#include "detectors/JisStates.h"
#include "japanese/JisDirectTables.h"
#include "japanese/JisValidity.h"
#include "utilities/ByteSink.h"
#include "utilities/Settings.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>

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
        if (verifyCharacters && !detail::jisPairMapped(m_firstByte, byte, supplementary)) {
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

namespace {

// Reads the characters that need no switch from index `i` on straight into
// `out`, leaving the machine as processByte would, and returns the index of
// the first byte it leaves to the machine: plain ASCII in single-byte text
// (ASCII and JIS-Roman alike) and mapped JIS X 0208 pairs of 0x21-0x7E while
// either JIS X 0208 set is designated. Other states read nothing here.
unsigned int convertPlainRun(JisDetectorSM& m, const unsigned char* bytes, unsigned int i,
                             unsigned int length, detail::ByteSink& out) {
    switch (m.m_state) {
    case AsciiDesignated:
    case SingleByte:
    case RomanDesignated:
    case Unused: {
        const std::size_t run = out.copyPlainAscii(bytes + i, length - i);
        if (run != 0) {
            detail::addJisCharacters(m, run);
            m.m_state = SingleByte;
            m.m_inChar = false;
        }
        return i + static_cast<unsigned int>(run);
    }
    case Jis1978Designated:
    case Jis1978Char:
    case Jis1983Designated:
    case Jis1983Char: {
        const bool is1978 = m.m_state == Jis1978Designated || m.m_state == Jis1978Char;
        const unsigned int start = i;
        while (length - i >= 2) {
            // As many pairs as both the input and the window hold: each
            // writes four bytes at most (see ByteSink::storePacked).
            char* p = out.window();
            const auto room = static_cast<std::size_t>(out.windowEnd() - p) / 4;
            const unsigned int end =
                i + 2 * static_cast<unsigned int>(std::min<std::size_t>(room, (length - i) / 2));
            for (; i != end; i += 2) {
                const unsigned first = bytes[i] - 0x21u;
                const unsigned second = bytes[i + 1] - 0x21u;
                // Zero for a code page 932 extension or an unmapped code.
                const std::uint32_t packed =
                    first < 94 && second < 94 ? detail::kJis0208Utf8[first * 94 + second] : 0;
                if (packed == 0) {
                    break;
                }
                p = detail::ByteSink::storePacked(p, packed);
            }
            out.commit(p);
            if (i != end) {
                break; // stopped at a pair it leaves to the machine
            }
        }
        if (i != start) {
            const int pairs = static_cast<int>((i - start) / 2);
            m.m_charsSinceEscape =
                m.m_charsSinceEscape > INT_MAX - pairs ? INT_MAX : m.m_charsSinceEscape + pairs;
            m.m_firstByte = bytes[i - 2];
            m.m_state = is1978 ? Jis1978Char : Jis1983Char;
            m.m_inChar = false;
        }
        return i;
    }
    default:
        return i;
    }
}

} // namespace

// Appends the text as UTF-8 to `result`. From the first failure on the input
// is read as ISO-8859-1, the bytes of the character or escape sequence it
// interrupted included. Before any failure, convertPlainRun reads what it
// can and complete designations between characters are taken at once;
// every other byte (other escape sequences, katakana, JIS X 0212, unmapped
// codes and extensions) goes through the machine.
bool JisDetectorSM::convertToUtf8(const char* buffer, unsigned int length, std::string& result,
                                  bool& unmapped, bool useReplacement) {
    if (detail::isMissingInput(buffer, length)) {
        return false;
    }
    // At most three bytes of output per input byte (a katakana byte).
    detail::ByteSink out(result, std::size_t{length} * 3);
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer);
    // Index of the first byte of the character or escape sequence being
    // read: the bytes from there on have been consumed without output yet.
    unsigned int pending = 0;
    unsigned int i = 0;
    while (i < length) {
        if (!m_error) {
            const unsigned int next = convertPlainRun(*this, bytes, i, length, out);
            if (next != i) {
                i = next;
                pending = i;
                if (i == length) {
                    break;
                }
            }
            // A complete designation between characters: no output.
            const unsigned int taken = detail::takeDesignation(*this, bytes, i, length);
            if (taken != 0) {
                i += taken;
                pending = i;
                continue;
            }
        }
        const unsigned char byte = bytes[i];
        const bool failedBefore = m_error;
        JisDetectorSM::processByte(byte, false);
        ++i;
        if (m_error) {
            // From the first failure on, the input is read as ISO-8859-1,
            // the bytes of the character or escape sequence it interrupted
            // included.
            out.putLatin1Range(bytes + (failedBefore ? i - 1 : pending), bytes + i);
            continue;
        }
        switch (m_state) {
        case SingleByte:
            // ASCII and JIS-Roman alike: 0x5C stays U+005C.
            out.putLatin1(byte);
            break;
        case KanaChar:
            out.putCodePoint(static_cast<std::uint32_t>(
                JapaneseConversions::jis0201ToUnicodeFix(byte + 0x80, useReplacement, unmapped)));
            break;
        case Jis1978Char:
        case Jis1983Char:
            out.putCodePoint(static_cast<std::uint32_t>(JapaneseConversions::jis0208ToUnicodeFix(
                m_firstByte * 256 + byte, useReplacement, unmapped)));
            break;
        case Jis0212Char:
            out.putCodePoint(static_cast<std::uint32_t>(JapaneseConversions::jis0212ToUnicodeFix(
                m_firstByte * 256 + byte, useReplacement, unmapped)));
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
        pending = i;
    }
    out.flush();
    return true;
}

AbstractEncoding::EncodingID JisDetectorSM::getEncodingID() {
    return AbstractEncoding::Jis;
}

} // namespace charsetkit
