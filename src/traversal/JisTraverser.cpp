#include <charsetkit/traversal/JisTraverser.h>

#include <charsetkit/detectors/JisDetectorSM.h>

#include <new>

namespace charsetkit {

JisTraverser::~JisTraverser() = default;

// Feeds a fresh ISO-2022-JP machine, which starts in ASCII mode, from the
// byte after the current position. A byte read in single-byte mode is a
// stop; escape sequences and everything read in a two-byte or katakana mode
// are stepped over. A broken escape sequence makes its ESC the stop, and the
// next call reads on in ASCII mode from the byte after that ESC. Because
// every stop is followed by ASCII mode, no state is kept between calls.
const char* JisTraverser::advance() {
    m_skipped = false;
    const char* pos = nextPosition();
    if (pos == m_bufferEnd) {
        m_pos = pos;
        return m_pos;
    }
    JisDetectorSM detector;
    for (;;) {
        detector.JisDetectorSM::processByte(static_cast<unsigned char>(*pos), false);
        // The escape bytes the failure states step back over were all read
        // in this call, so the ESC lies inside the buffer.
        switch (detector.m_state) {
        case 1: // a byte read in single-byte mode
            m_pos = pos;
            return m_pos;
        case 19: // ESC x
            m_pos = pos - 1;
            m_skipped = true;
            return m_pos;
        case 20: // ESC $ x or ESC ( x
            m_pos = pos - 2;
            m_skipped = true;
            return m_pos;
        case 21: // ESC $ ( x
            m_pos = pos - 3;
            m_skipped = true;
            return m_pos;
        default:
            break;
        }
        ++pos;
        m_skipped = true;
        if (pos == m_bufferEnd) {
            m_pos = pos;
            return m_pos;
        }
    }
}

AbstractTraverser* JisTraverser::createNew() const {
    return new (std::nothrow) JisTraverser();
}

void JisTraverser::resetStateToAscii() {}

} // namespace charsetkit
