// Detection over mark-up spends most of its bytes on plain ASCII. A run of
// plain ASCII bytes leaves each of the library's own machines, in a state
// where it reads such bytes as one-byte characters (readsAsciiRunAsOneByte),
// exactly as the run's last byte alone would; the ISO-2022-JP character
// count grows by the run's length. So when every surviving machine is in
// such a state, detection can show the machines the last byte of the run
// only (after adding the rest of the run to the ISO-2022-JP counts) and
// reach the same result, the early decision included. Machines of other
// classes (a caller's own) always get every byte.
#ifndef CHARSETKIT_SRC_LOCALES_SHAREDASCIIRUN_H
#define CHARSETKIT_SRC_LOCALES_SHAREDASCIIRUN_H

#include "detectors/AsciiRunReading.h"
#include "detectors/JapaneseDrivers.h"
#include "utilities/AsciiRun.h"

#include <charsetkit/detectors/JisDetectorSM.h>

#include <cstddef>
#include <typeinfo>

namespace charsetkit {
namespace detail {

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
