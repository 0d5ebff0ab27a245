#ifndef CHARSETKIT_ENCODINGS_VERIFYRUNS_H
#define CHARSETKIT_ENCODINGS_VERIFYRUNS_H

// The machines' reading of a buffer as verify() does it, shared by the
// verified-length scans and the streaming verifier: each returns the index
// of the byte that sets the machine's error, or `length` when none does.
// The shortcut over plain ASCII depends only on the bytes given, so a run
// cut between two calls is taken in two steps that leave the machine as one
// would.

#include <charsetkit/detectors/SjisDetectorSM.h>

#include "detectors/JapaneseDrivers.h"
#include "utilities/AsciiRun.h"
#include "utilities/AsciiRunSkip.h"

#include <cstddef>
#include <type_traits>

namespace charsetkit {
namespace detail {

// Western and UTF-8: between characters a run of plain ASCII goes to the
// machine as its last byte only; such a byte never fails.
template <class Machine>
unsigned int verifyRunStateless(Machine& machine, const unsigned char* bytes, unsigned int length,
                                bool verifyCharacters) {
    std::size_t i = 0;
    while (i < length) {
        if (!machine.m_inChar && detail::isPlainAscii(bytes[i])) {
            const std::size_t run = detail::plainAsciiRunLength(bytes + i, length - i);
            if (run > 1) {
                i += run - 1;
            }
        }
        machine.Machine::processByte(bytes[i], verifyCharacters);
        if (machine.m_error) {
            return static_cast<unsigned int>(i);
        }
        ++i;
    }
    return length;
}

// Shift_JIS and EUC-JP: after a one-byte character (state 0) the plain ASCII
// that follows is skipped but for its last byte.
template <class Machine>
unsigned int verifyRunJapanese(Machine& machine, const unsigned char* bytes, unsigned int length,
                               bool verifyCharacters) {
    for (unsigned int i = 0; i < length; ++i) {
        // The machine's own rule, inline.
        if constexpr (std::is_same<Machine, SjisDetectorSM>::value) {
            detail::sjis::step(machine, bytes[i], verifyCharacters);
        } else {
            detail::eucjp::step(machine, bytes[i], verifyCharacters);
        }
        if (machine.m_error) {
            return i;
        }
        if (machine.m_state == 0) {
            i += detail::plainAsciiRunToSkip(bytes, i + 1, length);
        }
    }
    return length;
}

} // namespace detail
} // namespace charsetkit

#endif
