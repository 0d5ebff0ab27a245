#include <charsetkit/traversal/SjisTraverser.h>

#include <charsetkit/detectors/SjisDetectorSM.h>

#include <new>

namespace charsetkit {

SjisTraverser::~SjisTraverser() = default;

// Feeds a fresh Shift_JIS machine from the byte after the current position.
// Single-byte characters below 0x80 and bytes that cannot start a character
// are stops; katakana and complete pairs are stepped over; a pair broken by
// its second byte, or cut off by the end of the buffer, makes its lead byte
// the stop, and the byte after the lead is examined afresh by the next call.
const char* SjisTraverser::advance() {
    m_skipped = false;
    const char* pos = nextPosition();
    if (pos == m_bufferEnd) {
        m_pos = pos;
        return m_pos;
    }
    SjisDetectorSM detector;
    for (;;) {
        detector.SjisDetectorSM::processByte(static_cast<unsigned char>(*pos), false);
        switch (detector.m_state) {
        case 0: // one-byte character
        case 3: // stray byte
            m_pos = pos;
            return m_pos;
        case 4: // broken pair: the lead byte, read in this call, is the stop
            m_pos = pos - 1;
            return m_pos;
        default: // katakana, lead byte, complete pair
            break;
        }
        ++pos;
        m_skipped = true;
        if (pos == m_bufferEnd) {
            // A lead byte without its trail is a stop; otherwise the end.
            m_pos = detector.m_state == 2 ? pos - 1 : pos;
            return m_pos;
        }
    }
}

AbstractTraverser* SjisTraverser::createNew() const {
    return new (std::nothrow) SjisTraverser();
}

void SjisTraverser::resetStateToAscii() {}

} // namespace charsetkit
