// The EUC-JP machine's byte rule, shared by the machine and the drivers
// that read whole buffers, so that both run the same code.
#ifndef CHARSETKIT_SRC_DETECTORS_EUCJPSTEP_H
#define CHARSETKIT_SRC_DETECTORS_EUCJPSTEP_H

#include <charsetkit/detectors/EucJpDetectorSM.h>
#include <charsetkit/japanese/JapaneseConversions.h>

#include "japanese/JisValidity.h"
#include "utilities/Settings.h"

namespace charsetkit {
namespace detail {
namespace eucjp {

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

inline bool isPairByte(unsigned char byte) {
    return byte >= 0xA1 && byte <= 0xFE;
}

/// One byte through the machine: EucJpDetectorSM::processByte, inline for the
/// whole-buffer drivers.
inline void step(EucJpDetectorSM& machine, unsigned char byte, bool verifyCharacters) {
    switch (machine.m_state) {
    case Jis0208First:
        // Second byte of a JIS X 0208 pair: 0xA1-0xFE completes it; any other
        // byte fails. Either way the pair is over.
        machine.m_state = Jis0208;
        machine.m_inChar = false;
        if (!isPairByte(byte)) {
            machine.m_error = true;
        } else {
            machine.m_confirmed = true;
            if (verifyCharacters && !detail::eucPairMapped(machine.m_firstByte, byte, false)) {
                machine.m_error = true;
            }
        }
        return;
    case KanaPrefix:
        // After 0x8E: 0xA1-0xDF is a half-width katakana; any other byte fails.
        machine.m_state = Kana;
        machine.m_inChar = false;
        if (byte >= 0xA1 && byte <= 0xDF) {
            machine.m_confirmed = true;
        } else {
            machine.m_error = true;
        }
        return;
    case Jis0212Prefix:
        // After 0x8F: 0xA1-0xFE starts the JIS X 0212 pair; any other byte
        // fails and the machine stands between characters again.
        if (isPairByte(byte)) {
            machine.m_state = Jis0212First;
            machine.m_firstByte = byte;
            machine.m_inChar = true;
        } else {
            machine.m_state = SingleByte;
            machine.m_error = true;
            machine.m_inChar = false;
        }
        return;
    case Jis0212First:
        // Third byte of a JIS X 0212 character, as for a JIS X 0208 pair.
        machine.m_state = Jis0212;
        machine.m_inChar = false;
        if (!isPairByte(byte)) {
            machine.m_error = true;
        } else {
            machine.m_confirmed = true;
            if (verifyCharacters && !detail::eucPairMapped(machine.m_firstByte, byte, true)) {
                machine.m_error = true;
            }
        }
        return;
    default:
        break;
    }

    // Between characters (SingleByte, Jis0208, Kana, Jis0212).
    if (byte < 0x80 && byte != 0x0E && byte != 0x0F && byte != 0x1B) {
        machine.m_state = SingleByte;
        machine.m_inChar = false;
    } else if (isPairByte(byte)) {
        machine.m_state = Jis0208First;
        machine.m_firstByte = byte;
        machine.m_inChar = true;
    } else if (byte == 0x8E) {
        machine.m_state = KanaPrefix;
        machine.m_inChar = true;
        if (!settings::supportSingleByteKana()) {
            machine.m_error = true;
        }
    } else if (byte == 0x8F) {
        machine.m_state = Jis0212Prefix;
        machine.m_inChar = true;
        if (!settings::supportSupplementaryKanji()) {
            machine.m_error = true;
        }
    } else {
        // ESC, SO, SI, 0x80-0x8D, 0x90-0xA0 and 0xFF.
        machine.m_state = SingleByte;
        machine.m_error = true;
        machine.m_inChar = false;
    }
}

} // namespace eucjp
} // namespace detail
} // namespace charsetkit

#endif
