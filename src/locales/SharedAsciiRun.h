// Detection over mark-up spends most of its bytes on plain ASCII. For the
// library's own machines, a run of plain ASCII bytes (below 0x80, not ESC,
// SO or SI) met where the machine reads single-byte characters leaves the
// machine exactly as the run's last byte alone would:
//  - UTF-8 (plain and restricted), Shift_JIS, EUC-JP: between characters
//    (m_inChar false) each such byte is a one-byte character;
//  - ASCII: every such byte is accepted;
//  - ISO-2022-JP in ASCII or Roman mode (states 0-3 and the failure states
//    19-21, which read like 1): each byte is a character that moves to state
//    1 and counts one character, so the count grows by the run's length.
// No such byte sets m_error, m_confirmed or m_inChar, and checkLimits gives
// the same answer after each of them. So when every surviving machine is in
// such a state, detection can show the machines the last byte of the run
// only (after adding the rest of the run to the ISO-2022-JP counts) and
// reach the same result, the early decision included. Machines of other
// classes (a caller's own) always get every byte.
#ifndef CHARSETKIT_SRC_LOCALES_SHAREDASCIIRUN_H
#define CHARSETKIT_SRC_LOCALES_SHAREDASCIIRUN_H

#include "detectors/JapaneseDrivers.h"
#include "utilities/AsciiRun.h"

#include <charsetkit/detectors/AsciiDetectorSM.h>
#include <charsetkit/detectors/EucJpDetectorSM.h>
#include <charsetkit/detectors/JapaneseUtf8DetectorSM.h>
#include <charsetkit/detectors/JisDetectorSM.h>
#include <charsetkit/detectors/SjisDetectorSM.h>
#include <charsetkit/detectors/Utf8DetectorSM.h>

#include <cstddef>
#include <typeinfo>

namespace charsetkit {
namespace detail {

/// Whether `machine` reads a plain ASCII byte, in its present state, as a
/// single-byte character whose effect does not depend on the bytes before
/// it in the run.
inline bool readsAsciiRunAsOneByte(const AbstractDetectorSM& machine) {
    const std::type_info& type = typeid(machine);
    if (type == typeid(Utf8DetectorSM) || type == typeid(JapaneseUtf8DetectorSM) ||
        type == typeid(SjisDetectorSM) || type == typeid(EucJpDetectorSM)) {
        return !machine.m_inChar;
    }
    if (type == typeid(AsciiDetectorSM)) {
        return true;
    }
    if (type == typeid(JisDetectorSM)) {
        const int state = static_cast<const JisDetectorSM&>(machine).m_state;
        return (state >= 0 && state <= 3) || (state >= 19 && state <= 21);
    }
    return false;
}

/// The index of the byte that the machines must be shown next, from `pos`
/// on: the last byte of the plain ASCII run that starts at `pos` when every
/// machine can take the run as its last byte (the ISO-2022-JP character
/// counts then grow by the bytes left out), otherwise `pos` itself.
inline std::size_t lastByteToShow(AbstractDetectorSM* const* machines, std::size_t count,
                                  const unsigned char* bytes, std::size_t pos, std::size_t length) {
    // Most bytes of CJK text end here: a run needs two plain ASCII bytes.
    if (!isPlainAscii(bytes[pos]) || length - pos < 2 || !isPlainAscii(bytes[pos + 1])) {
        return pos;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (!readsAsciiRunAsOneByte(*machines[i])) {
            return pos;
        }
    }
    const std::size_t run = plainAsciiRunLength(bytes + pos, length - pos);
    const std::size_t skipped = run - 1;
    for (std::size_t i = 0; i < count; ++i) {
        if (typeid(*machines[i]) == typeid(JisDetectorSM)) {
            addJisCharacters(static_cast<JisDetectorSM&>(*machines[i]), skipped);
        }
    }
    return pos + skipped;
}

} // namespace detail
} // namespace charsetkit

#endif
