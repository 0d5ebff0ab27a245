#include <charsetkit/traversal/Utf16BigTraverser.h>

#include <cstddef>
#include <new>

namespace charsetkit {

Utf16BigTraverser::~Utf16BigTraverser() = default;

const char* Utf16BigTraverser::advance() {
    // Positions are indices into the buffer and name the second (low-order)
    // byte of a code unit; -1 stands for "before the first unit", so no
    // pointer outside the buffer is ever formed.
    m_skipped = false;
    const auto* bytes = reinterpret_cast<const unsigned char*>(m_bufferStart);
    const std::ptrdiff_t length = m_bufferEnd - m_bufferStart;
    const std::ptrdiff_t last = length - 1;
    std::ptrdiff_t index;
    if (beforeFirstByte()) {
        index = -1;
        // Only the first step after binding passes over a byte-order mark,
        // and only in a buffer longer than the mark itself.
        if (length > 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
            index += 2;
        }
    } else {
        index = m_pos - m_bufferStart;
    }
    while (index < last) {
        index += 2;
        if (index > last) {
            break; // a trailing odd byte is neither a stop nor skipped
        }
        if (bytes[index - 1] == 0x00 && bytes[index] < 0x80) {
            m_pos = m_bufferStart + index;
            return m_pos;
        }
        m_skipped = true;
    }
    m_pos = m_bufferEnd;
    return m_pos;
}

AbstractTraverser* Utf16BigTraverser::createNew() const {
    return new (std::nothrow) Utf16BigTraverser();
}

void Utf16BigTraverser::resetStateToAscii() {}

} // namespace charsetkit
