#include <charsetkit/detectors/SjisDetectorSM.h>

#include "utilities/MissingInput.h"

#include <charsetkit/japanese/JapaneseConversions.h>

#include "detectors/JapaneseOutput.h"
#include "detectors/SjisStep.h"
#include "japanese/JisDirectTables.h"
#include "utilities/ByteSink.h"
#include "utilities/Settings.h"

#include <cstddef>
#include <cstdint>

namespace charsetkit {

namespace {

using namespace detail::sjis;

} // namespace

void SjisDetectorSM::processByte(unsigned char byte, bool verifyCharacters) {
    detail::sjis::step(*this, byte, verifyCharacters);
}

namespace {

// The UTF-8 entry of the JIS X 0208 character that lead/trail encode, or 0
// when the pair is not one (an invalid pair, a lead of the user-defined
// rows 0xF0-0xFC, a code page 932 extension or an unmapped code).
std::uint32_t standardPairUtf8(unsigned char lead, unsigned char trail) {
    // Lead bytes 0x81-0x9F and 0xE0-0xEF give row pairs 0-61 and 62-93 (from
    // row 0x21 on); trail bytes 0x40-0x7E and 0x80-0x9E are cells 0-93 of
    // the first row of the pair, 0x9F-0xFC cells 0-93 of the second.
    unsigned row;
    if (lead >= 0x81 && lead <= 0x9F) {
        row = (lead - 0x81u) * 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        row = (lead - 0xC1u) * 2;
    } else {
        return 0;
    }
    unsigned cell;
    if (trail >= 0x40 && trail <= 0x7E) {
        cell = trail - 0x40u;
    } else if (trail >= 0x80 && trail <= 0x9E) {
        cell = trail - 0x41u;
    } else if (trail >= 0x9F && trail <= 0xFC) {
        cell = trail - 0x9Fu;
        ++row;
    } else {
        return 0;
    }
    return detail::jis0208Utf8(row + 0x21, cell + 0x21);
}

// Reads the characters that need no switch from index `i` on (plain ASCII
// and JIS X 0208 pairs) straight into `out`, leaving the machine as
// processByte would, and returns the index of the first byte it leaves to
// the machine.
unsigned int convertPlainRun(SjisDetectorSM& m, const unsigned char* bytes, unsigned int i,
                             unsigned int length, detail::ByteSink& out) {
    int last = -1; // state after the last character read
    unsigned char lastLead = 0;
    char* p = out.window();
    while (i < length) {
        const unsigned char byte = bytes[i];
        if (byte < 0x80) {
            if (!detail::isPlainAscii(byte)) {
                break; // ESC, SO, SI
            }
            i += static_cast<unsigned int>(out.putPlainAscii(p, bytes + i, length - i));
            last = SingleByte;
            continue;
        }
        if (length - i < 2) {
            break;
        }
        const std::uint32_t packed = standardPairUtf8(byte, bytes[i + 1]);
        if (packed == 0) {
            break;
        }
        p = out.putPacked(p, packed);
        lastLead = byte;
        last = DoubleByte;
        i += 2;
    }
    out.commit(p);
    if (lastLead != 0) {
        m.m_firstByte = lastLead;
        m.m_confirmed = true;
    }
    if (last >= 0) {
        m.m_state = last;
        m.m_inChar = false;
    }
    return i;
}

} // namespace

// Replaces nothing: appends the text as UTF-8 to `result`. From the first
// failure on the input is read as ISO-8859-1, the bytes of the character it
// interrupted included. Between characters and before any failure, plain
// ASCII and JIS X 0208 pairs are read by convertPlainRun; every other byte
// goes through the machine.
bool SjisDetectorSM::convertToUtf8(const char* buffer, unsigned int length, std::string& result,
                                   bool& unmapped, bool useReplacement) {
    if (detail::isMissingInput(buffer, length)) {
        return false;
    }
    // At most three bytes of output per input byte (a single-byte katakana).
    detail::ByteSink out(result, std::size_t{length} * 3);
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer);
    // Index of the first byte of the character being read: the bytes from
    // there on have been consumed without output yet.
    unsigned int pending = 0;
    unsigned int i = 0;
    while (i < length) {
        if (!m_error && m_state != Lead) {
            i = convertPlainRun(*this, bytes, i, length, out);
            pending = i;
            if (i == length) {
                break;
            }
        }
        const unsigned char byte = bytes[i];
        const bool failedBefore = m_error;
        SjisDetectorSM::processByte(byte, false);
        ++i;
        if (m_error) {
            // From the first failure on, the input is read as ISO-8859-1,
            // the bytes of the character it interrupted included.
            out.putLatin1Range(bytes + (failedBefore ? i - 1 : pending), bytes + i);
            continue;
        }
        switch (m_state) {
        case SingleByte:
            out.putLatin1(byte);
            break;
        case Kana:
            out.putCodePoint(static_cast<std::uint32_t>(
                JapaneseConversions::jis0201ToUnicodeFix(byte, useReplacement, unmapped)));
            break;
        case DoubleByte:
            out.putCodePoint(static_cast<std::uint32_t>(JapaneseConversions::jis0208ToUnicodeFix(
                JapaneseConversions::sjisToJis(m_firstByte, byte), useReplacement, unmapped)));
            break;
        default: // Lead: wait for the trail byte
            continue;
        }
        pending = i;
    }
    out.flush();
    return true;
}

AbstractEncoding::EncodingID SjisDetectorSM::getEncodingID() {
    return AbstractEncoding::Sjis;
}

} // namespace charsetkit
