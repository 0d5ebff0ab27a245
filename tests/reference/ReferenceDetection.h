// A deliberately plain copy of generic detection: every byte after the ASCII
// prefix goes to every surviving machine, one virtual call at a time. Tests
// compare the library's detection, which shows machines only the last byte
// of shared ASCII runs, with this.
#ifndef CHARSETKIT_TESTS_REFERENCE_REFERENCEDETECTION_H
#define CHARSETKIT_TESTS_REFERENCE_REFERENCEDETECTION_H

#include <charsetkit/detectors/AbstractDetectorSM.h>

#include <vector>

namespace charsetkit {
namespace reference {

inline std::vector<AbstractEncoding::EncodingID>
genericEncodingDetect(const unsigned char* bytes, unsigned int length, bool verifyCharacters,
                      bool rejectRedundantEscapes, int escapeRunLimit, bool scanToEnd,
                      std::vector<AbstractDetectorSM*> machines, bool* decidedEarly) {
    std::vector<AbstractEncoding::EncodingID> out;
    *decidedEarly = false;
    unsigned int pos = 0;
    while (pos < length && bytes[pos] < 0x80 && bytes[pos] != 0x1B && bytes[pos] != 0x0E &&
           bytes[pos] != 0x0F) {
        ++pos;
    }
    if (pos == length) {
        out.push_back(AbstractEncoding::Ascii);
        return out;
    }
    for (; pos < length; ++pos) {
        int confirmed = 0;
        AbstractDetectorSM* last = nullptr;
        int inChar = 0;
        for (std::size_t i = 0; i < machines.size();) {
            AbstractDetectorSM* m = machines[i];
            m->processByte(bytes[pos], verifyCharacters);
            m->checkLimits(rejectRedundantEscapes, escapeRunLimit);
            if (m->m_error) {
                machines.erase(machines.begin() + static_cast<std::ptrdiff_t>(i));
                continue;
            }
            if (m->m_confirmed) {
                ++confirmed;
                last = m;
            }
            if (m->m_inChar) {
                ++inChar;
            }
            ++i;
        }
        if (!scanToEnd && inChar == 0 && confirmed == 1) {
            out.push_back(last->getEncodingID());
            *decidedEarly = true;
            return out;
        }
        if (machines.empty()) {
            return out;
        }
    }
    for (AbstractDetectorSM* m : machines) {
        if (m->m_confirmed && !m->m_error && !m->m_inChar && m->isValidEndState()) {
            out.push_back(m->getEncodingID());
        }
    }
    return out;
}

} // namespace reference
} // namespace charsetkit

#endif
