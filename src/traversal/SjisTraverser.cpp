#include <charsetkit/traversal/SjisTraverser.h>

#include "utilities/Settings.h"
#include "traversal/TraverserScan.h"

#include <new>

namespace charsetkit {

namespace {

bool isLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool isTrailByte(unsigned char byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

} // namespace

SjisTraverser::~SjisTraverser() = default;

// The byte rules of the Shift_JIS machine, read from the byte after the
// current position with the machine between characters:
// - below 0x80: a one-byte character (ESC, SO and SI fail the machine, which
//   makes them stops just the same);
// - a lead byte 0x81-0x9F or 0xE0-0xFC: stepped over with the byte after it
//   when that is a trail byte 0x40-0x7E or 0x80-0xFC; otherwise the pair is
//   broken and its lead byte is the stop, so the byte after it is read afresh
//   by the next call; a lead byte that ends the buffer is a stop too;
// - 0xA1-0xDF: single-byte katakana, stepped over while they are enabled;
// - any other byte (0x80, 0xA0, 0xFD-0xFF, disabled katakana) cannot start a
//   character and is a stop.
const char* SjisTraverser::walkFrom(const char* p) {
    m_skipped = false;
    while (p < m_bufferEnd) {
        const auto byte = static_cast<unsigned char>(*p);
        if (byte < 0x80) {
            m_pos = p;
            return m_pos;
        }
        if (isLeadByte(byte)) {
            m_skipped = true;
            if (p + 1 == m_bufferEnd || !isTrailByte(static_cast<unsigned char>(p[1]))) {
                m_pos = p;
                return m_pos;
            }
            p += 2;
            continue;
        }
        if (byte < 0xA1 || byte > 0xDF || !settings::supportSingleByteKana()) {
            m_pos = p;
            return m_pos;
        }
        m_skipped = true;
        ++p;
    }
    m_pos = m_bufferEnd;
    return m_pos;
}

const char* SjisTraverser::advanceTo(char byte) {
    TraverserScan::scan(*this, TraverserScan::ByteTarget(byte), m_bufferEnd);
    return m_pos;
}

AbstractTraverser* SjisTraverser::createNew() const {
    return new (std::nothrow) SjisTraverser();
}

void SjisTraverser::resetStateToAscii() {}

} // namespace charsetkit
