// The Shift_JIS machine's byte rule, shared by the machine and the drivers
// that read whole buffers, so that both run the same code.
#ifndef CHARSETKIT_SRC_DETECTORS_SJISSTEP_H
#define CHARSETKIT_SRC_DETECTORS_SJISSTEP_H

#include <charsetkit/detectors/SjisDetectorSM.h>
#include <charsetkit/japanese/JapaneseConversions.h>

#include "japanese/JisValidity.h"
#include "utilities/Settings.h"

namespace charsetkit {
namespace detail {
namespace sjis {

enum : int {
    SingleByte = 0, // after a one-byte character below 0x80 (initial)
    Kana = 1,       // after a single-byte katakana 0xA1-0xDF
    Lead = 2,       // after a lead byte, waiting for its trail
    BadLead = 3,    // failed on a byte that cannot start a character
    BadTrail = 4,   // failed on the byte after a lead byte
    DoubleByte = 5  // after a complete double-byte character
};

inline bool isLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

inline bool isTrailByte(unsigned char byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

/// One byte through the machine: SjisDetectorSM::processByte, inline for the
/// whole-buffer drivers.
inline void step(SjisDetectorSM& machine, unsigned char byte, bool verifyCharacters) {
    if (machine.m_state == Lead) {
        // After a lead byte: 0x40-0x7E and 0x80-0xFC complete the pair (a pair
        // the tables do not know fails when characters are verified, but still
        // counts as seen); any other byte fails the pair.
        machine.m_inChar = false;
        if (!isTrailByte(byte)) {
            machine.m_error = true;
            machine.m_state = BadTrail;
            return;
        }
        machine.m_confirmed = true;
        if (verifyCharacters && !detail::sjisPairMapped(machine.m_firstByte, byte)) {
            machine.m_error = true;
            machine.m_state = BadTrail;
        } else {
            machine.m_state = DoubleByte;
        }
        return;
    }

    // Between characters (every state but Lead reads the next byte alike).
    if (byte < 0x80 && byte != 0x0E && byte != 0x0F && byte != 0x1B) {
        machine.m_state = SingleByte;
        machine.m_inChar = false;
    } else if (isLeadByte(byte)) {
        machine.m_state = Lead;
        machine.m_firstByte = byte;
        machine.m_inChar = true;
    } else if (byte >= 0xA1 && byte <= 0xDF && settings::supportSingleByteKana()) {
        machine.m_state = Kana;
        machine.m_confirmed = true;
        machine.m_inChar = false;
    } else {
        // ESC, SO, SI, 0x80, 0xA0, 0xFD-0xFF, and katakana while disabled.
        machine.m_state = BadLead;
        machine.m_error = true;
        machine.m_inChar = false;
    }
}

} // namespace sjis
} // namespace detail
} // namespace charsetkit

#endif
