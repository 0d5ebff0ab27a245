#include "detectors/Utf8Scan.h"

#include <charsetkit/detectors/Utf8DetectorSM.h>

namespace charsetkit {
namespace detail {

namespace {

// The machine reads at least this many bytes after the scan stops, so that
// text the scan cannot prove costs one scan call per stretch, not per byte.
constexpr std::size_t kMachineStretch = 64;

} // namespace

Utf8ScanResult scanUtf8(vector::Level level, const unsigned char* p, std::size_t n) {
    Utf8ScanResult result;
    std::size_t i = 0;
    while (i < n) {
        i += vector::utf8CleanPrefix(level, p + i, n - i);
        if (i == n) {
            break;
        }
        // A character boundary: a fresh machine is in the state the whole
        // run would have left. Its characters all pass (verifyChar accepts
        // every one), so they need not be looked up.
        Utf8DetectorSM machine;
        const std::size_t stretchEnd = n - i > kMachineStretch ? i + kMachineStretch : n;
        do {
            machine.Utf8DetectorSM::processByte(p[i], false);
            if (machine.m_error) {
                result.failed = true;
                return result;
            }
            ++i;
        } while (i < n && (i < stretchEnd || machine.m_inChar));
        result.endsInsideCharacter = machine.m_inChar;
    }
    return result;
}

} // namespace detail
} // namespace charsetkit
