// Whole-buffer drivers of the Japanese machines for callers that know the
// machine's exact class: processByte (and for ISO-2022-JP checkLimits) is
// called without virtual dispatch, and what the machine would read without
// failing is taken in one step where that step's outcome is known. In the
// Shift_JIS and EUC-JP drivers, after a plain ASCII character the plain
// ASCII that follows is taken at once, its last byte alone going through the
// machine (which leaves state 0 as the whole run would), and whole two-byte
// characters between characters are read in one step. The ISO-2022-JP
// driver takes plain ASCII in single-byte text, runs of two-byte characters
// between escape sequences and complete designations without the machine's
// steps, setting every field as those steps would. The answers and fields
// equal those of the plain drivers of AbstractStatelessDetectorSM and
// AbstractStatefulDetectorSM; tests compare the two.
#ifndef CHARSETKIT_SRC_DETECTORS_JAPANESEDRIVERS_H
#define CHARSETKIT_SRC_DETECTORS_JAPANESEDRIVERS_H

#include "detectors/JisStates.h"
#include "utilities/AsciiRun.h"
#include "utilities/AsciiRunSkip.h"

#include "detectors/EucJpStep.h"
#include "detectors/SjisStep.h"
#include "japanese/JisValidity.h"

#include <charsetkit/detectors/EucJpDetectorSM.h>
#include <charsetkit/detectors/JisDetectorSM.h>
#include <charsetkit/detectors/SjisDetectorSM.h>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace charsetkit {
namespace detail {

/// Counts `n` characters read in single-byte text, saturating at INT_MAX
/// as the machine's own count does (whatever value the public field holds).
inline void addJisCharacters(JisDetectorSM& machine, std::size_t n) {
    const long long sum = static_cast<long long>(machine.m_charsSinceEscape) +
                          static_cast<long long>(n > INT_MAX ? INT_MAX : n);
    machine.m_charsSinceEscape = sum > INT_MAX ? INT_MAX : static_cast<int>(sum);
}

/// When `machine` stands between characters without an error and `lead`, `trail` form a
/// complete two-byte character that passes verification, puts the machine in
/// the state its rule leaves after the two bytes and returns true; otherwise
/// changes nothing and returns false.
inline bool completePair(SjisDetectorSM& machine, unsigned char lead, unsigned char trail,
                         bool verifyCharacters) {
    if (machine.m_error || machine.m_state == sjis::Lead || !sjis::isLeadByte(lead) ||
        !sjis::isTrailByte(trail) || (verifyCharacters && !sjisPairMapped(lead, trail))) {
        return false;
    }
    machine.m_state = sjis::DoubleByte;
    machine.m_firstByte = lead;
    machine.m_confirmed = true;
    machine.m_inChar = false;
    return true;
}

inline bool completePair(EucJpDetectorSM& machine, unsigned char lead, unsigned char trail,
                         bool verifyCharacters) {
    const int state = machine.m_state;
    const bool between = state == eucjp::SingleByte || state == eucjp::Jis0208 ||
                         state == eucjp::Kana || state == eucjp::Jis0212;
    if (machine.m_error || !between || !eucjp::isPairByte(lead) || !eucjp::isPairByte(trail) ||
        (verifyCharacters && !eucPairMapped(lead, trail, false))) {
        return false;
    }
    machine.m_state = eucjp::Jis0208;
    machine.m_firstByte = lead;
    machine.m_confirmed = true;
    machine.m_inChar = false;
    return true;
}

/// The stateless driver for SjisDetectorSM and EucJpDetectorSM, whose state
/// 0 is "after a one-byte character".
template <class Machine>
bool runJapaneseStatelessFast(Machine& machine, const char* buffer, unsigned int length,
                              bool verifyCharacters) {
    static_assert(std::is_same<Machine, SjisDetectorSM>::value ||
                      std::is_same<Machine, EucJpDetectorSM>::value,
                  "a machine whose state 0 follows a one-byte character");
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer);
    for (unsigned int i = 0; i < length; ++i) {
        // A whole two-byte character read between characters: the state the
        // machine's rule reaches over its two bytes, set at once.
        if (i + 1 < length && completePair(machine, bytes[i], bytes[i + 1], verifyCharacters)) {
            ++i;
            continue;
        }
        // The machine's own rule, inline.
        if constexpr (std::is_same<Machine, SjisDetectorSM>::value) {
            sjis::step(machine, bytes[i], verifyCharacters);
        } else {
            eucjp::step(machine, bytes[i], verifyCharacters);
        }
        if (machine.m_error) {
            return false;
        }
        if (machine.m_state == 0) {
            i += plainAsciiRunToSkip(bytes, i + 1, length);
        }
    }
    return true;
}

/// The state a two-byte character of the set designated in `state` leaves,
/// when `state` stands between two such characters (a JIS X 0208 or JIS X
/// 0212 set just designated or a character of it just read); 0 otherwise.
constexpr int jisPairEndState(int state) {
    switch (state) {
    case jis_states::Jis1978Designated:
    case jis_states::Jis1978Char:
        return jis_states::Jis1978Char;
    case jis_states::Jis1983Designated:
    case jis_states::Jis1983Char:
        return jis_states::Jis1983Char;
    case jis_states::Jis0212Designated:
    case jis_states::Jis0212Char:
        return jis_states::Jis0212Char;
    default:
        return 0;
    }
}

/// Takes, from index `i` on, the two-byte characters that `machine`, standing
/// between characters of a two-byte set without an error, reads without
/// failing and without leaving the set: pairs of 0x21-0x7E, each mapped in
/// the set when `verifyCharacters` is true. Leaves every field as reading
/// them byte by byte would (the escape limits cannot fail on them, as no
/// field they look at changes) and returns the index after the last pair
/// taken. Anything else (ESC, a byte of the extended range, an unmapped
/// pair, a lone last byte) is left to the machine.
inline unsigned int takeJisPairs(JisDetectorSM& machine, int endState, const unsigned char* bytes,
                                 unsigned int i, unsigned int length, bool verifyCharacters) {
    unsigned int j = i;
    if (verifyCharacters) {
        const std::uint8_t* const bitmap =
            endState == jis_states::Jis0212Char ? kJisMapped0212 : jis0208Bitmap();
        while (length - j >= 2) {
            const unsigned row = static_cast<unsigned>(bytes[j]) - 0x21u;
            const unsigned cell = static_cast<unsigned>(bytes[j + 1]) - 0x21u;
            if (row >= 94u || cell >= 94u ||
                ((bitmap[row * kJisMappedRowBytes + (cell >> 3)] >> (cell & 7u)) & 1u) == 0) {
                break;
            }
            j += 2;
        }
    } else {
        while (length - j >= 2) {
            const unsigned row = static_cast<unsigned>(bytes[j]) - 0x21u;
            const unsigned cell = static_cast<unsigned>(bytes[j + 1]) - 0x21u;
            if (row >= 94u || cell >= 94u) {
                break;
            }
            j += 2;
        }
    }
    if (j != i) {
        addJisCharacters(machine, (j - i) / 2);
        machine.m_firstByte = bytes[j - 2];
        machine.m_state = endState;
        machine.m_inChar = false;
    }
    return j;
}

/// Reads at index `i` a complete designation escape (ESC ( B, ESC ( J,
/// ESC ( I, ESC $ @, ESC $ B or ESC $ ( D) when `machine` stands between
/// characters (states 0 to 11), leaving every field as the machine's steps
/// over it would, and returns the number of bytes taken; takes nothing and
/// returns 0 otherwise. The escape limits are left to the caller: the steps
/// before the last change no field they look at.
inline unsigned int takeDesignation(JisDetectorSM& machine, const unsigned char* bytes,
                                    unsigned int i, unsigned int length) {
    constexpr unsigned char kEsc = 0x1B;
    if (machine.m_state < jis_states::AsciiDesignated ||
        machine.m_state > jis_states::Jis0212Char || length - i < 3 || bytes[i] != kEsc) {
        return 0;
    }
    int target = 0;
    bool inChar = true;
    unsigned int taken = 3;
    if (bytes[i + 1] == 0x28) { // (
        switch (bytes[i + 2]) {
        case 0x42: // B
            target = jis_states::AsciiDesignated;
            inChar = false;
            break;
        case 0x49: // I
            target = jis_states::KanaDesignated;
            break;
        case 0x4A: // J
            target = jis_states::RomanDesignated;
            inChar = false;
            break;
        default:
            return 0;
        }
    } else if (bytes[i + 1] == 0x24) { // $
        switch (bytes[i + 2]) {
        case 0x40: // @
            target = jis_states::Jis1978Designated;
            break;
        case 0x42: // B
            target = jis_states::Jis1983Designated;
            break;
        case 0x28: // ( D
            if (length - i < 4 || bytes[i + 3] != 0x44) {
                return 0;
            }
            target = jis_states::Jis0212Designated;
            taken = 4;
            break;
        default:
            return 0;
        }
    } else {
        return 0;
    }
    machine.designate(target);
    machine.m_inChar = inChar;
    return taken;
}

/// The stateful driver for JisDetectorSM. Once the machine has read a byte
/// and passed the escape limits, what cannot fail is taken without its
/// steps: plain ASCII in single-byte text (states 0 to 3; each byte moves
/// the machine to state 1 and counts a character), runs of two-byte
/// characters (takeJisPairs) and complete designations (takeDesignation,
/// after which the limits are checked as after the machine's last step).
/// No field the limits look at changes otherwise, so they hold as they did
/// after the machine's last step. Everything else goes through the machine.
inline bool runJisFast(JisDetectorSM& machine, const char* buffer, unsigned int length,
                       bool verifyCharacters, bool rejectRedundantEscapes, int escapeRunLimit) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer);
    bool checked = false;
    unsigned int i = 0;
    while (i < length) {
        if (checked) {
            const int state = machine.m_state;
            if (state >= jis_states::AsciiDesignated && state <= jis_states::Unused) {
                const std::size_t run = plainAsciiRunLength(bytes + i, length - i);
                if (run != 0) {
                    addJisCharacters(machine, run);
                    machine.m_state = jis_states::SingleByte;
                    machine.m_inChar = false;
                    i += static_cast<unsigned int>(run);
                    continue;
                }
            } else if (const int endState = jisPairEndState(state)) {
                const unsigned int next =
                    takeJisPairs(machine, endState, bytes, i, length, verifyCharacters);
                if (next != i) {
                    i = next;
                    continue;
                }
            }
            const unsigned int taken = takeDesignation(machine, bytes, i, length);
            if (taken != 0) {
                machine.AbstractStatefulDetectorSM::checkLimits(rejectRedundantEscapes,
                                                                escapeRunLimit);
                if (machine.m_error) {
                    return false;
                }
                i += taken;
                continue;
            }
        }
        machine.JisDetectorSM::processByte(bytes[i], verifyCharacters);
        machine.AbstractStatefulDetectorSM::checkLimits(rejectRedundantEscapes, escapeRunLimit);
        if (machine.m_error) {
            return false;
        }
        checked = true;
        ++i;
    }
    return machine.JisDetectorSM::isValidEndState();
}

} // namespace detail
} // namespace charsetkit

#endif
