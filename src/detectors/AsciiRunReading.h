// Which of the library's own machines, in their present state, read a plain
// ASCII byte (below 0x80, not ESC, SO or SI) as a one-byte character whose
// effect does not depend on the bytes before it in the run:
//  - UTF-8 (plain and restricted), Shift_JIS, EUC-JP: between characters
//    (m_inChar false);
//  - ASCII: always;
//  - ISO-2022-JP in ASCII or Roman mode and in the states after a bad
//    escape, which read like them: each byte is a character that moves the
//    machine to single-byte text and counts one character.
// No such byte sets m_error, m_confirmed or m_inChar, and checkLimits gives
// the same answer after each of them, so a run of them leaves the machine as
// its last byte alone would (the ISO-2022-JP count aside). Machines of other
// classes (a caller's own) are never said to do so.
#ifndef CHARSETKIT_SRC_DETECTORS_ASCIIRUNREADING_H
#define CHARSETKIT_SRC_DETECTORS_ASCIIRUNREADING_H

#include "detectors/JisStates.h"

#include <charsetkit/detectors/AsciiDetectorSM.h>
#include <charsetkit/detectors/EucJpDetectorSM.h>
#include <charsetkit/detectors/JapaneseUtf8DetectorSM.h>
#include <charsetkit/detectors/JisDetectorSM.h>
#include <charsetkit/detectors/SjisDetectorSM.h>
#include <charsetkit/detectors/Utf8DetectorSM.h>

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
        return jis_states::readsSingleByteText(static_cast<const JisDetectorSM&>(machine).m_state);
    }
    return false;
}

} // namespace detail
} // namespace charsetkit

#endif
