// The whole-buffer driver of the stateless machines, for callers that know
// the machine's exact class: processByte is called without virtual dispatch,
// and a run of plain ASCII met between characters is handed to the machine
// as its last byte only. For the machines below a plain ASCII byte between
// characters is a one-byte character that leaves the same fields whatever
// came before it in the run, so the result equals that of the plain driver
// (AbstractStatelessDetectorSM::verify) byte for byte; tests compare the two.
#ifndef CHARSETKIT_SRC_DETECTORS_STATELESSDRIVER_H
#define CHARSETKIT_SRC_DETECTORS_STATELESSDRIVER_H

#include "utilities/AsciiRun.h"

#include <charsetkit/detectors/AsciiDetectorSM.h>
#include <charsetkit/detectors/EucJpDetectorSM.h>
#include <charsetkit/detectors/JapaneseUtf8DetectorSM.h>
#include <charsetkit/detectors/SjisDetectorSM.h>
#include <charsetkit/detectors/Utf8DetectorSM.h>

#include <cstddef>
#include <type_traits>

namespace charsetkit {
namespace detail {

template <class Machine>
bool runStatelessFast(Machine& machine, const char* buffer, unsigned int length,
                      bool verifyCharacters) {
    static_assert(std::is_same<Machine, Utf8DetectorSM>::value ||
                      std::is_same<Machine, JapaneseUtf8DetectorSM>::value ||
                      std::is_same<Machine, AsciiDetectorSM>::value ||
                      std::is_same<Machine, SjisDetectorSM>::value ||
                      std::is_same<Machine, EucJpDetectorSM>::value,
                  "only machines whose one-byte characters are idempotent");
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer);
    std::size_t i = 0;
    while (i < length) {
        // Between characters, a plain ASCII byte may start a run; text of
        // multi-byte characters goes straight to the machine.
        if (!machine.m_inChar && isPlainAscii(bytes[i])) {
            const std::size_t run = plainAsciiRunLength(bytes + i, length - i);
            if (run > 1) {
                i += run - 1;
            }
        }
        machine.Machine::processByte(bytes[i], verifyCharacters);
        if (machine.m_error) {
            return false;
        }
        ++i;
    }
    return true;
}

} // namespace detail
} // namespace charsetkit

#endif
