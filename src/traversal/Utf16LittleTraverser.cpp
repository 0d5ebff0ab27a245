#include <charsetkit/traversal/Utf16LittleTraverser.h>

#include <cstddef>
#include <new>

namespace charsetkit {

Utf16LittleTraverser::~Utf16LittleTraverser() = default;

const char* Utf16LittleTraverser::advance() {
    // Positions are indices into the buffer and name the first (low-order)
    // byte of a code unit; -2 stands for "before the first unit", so no
    // pointer outside the buffer is ever formed.
    m_skipped = false;
    const auto* bytes = reinterpret_cast<const unsigned char*>(m_bufferStart);
    const std::ptrdiff_t length = m_bufferEnd - m_bufferStart;
    const std::ptrdiff_t last = length - 2;
    std::ptrdiff_t index;
    if (beforeFirstByte()) {
        index = -2;
        // Only the first step after binding passes over a byte-order mark,
        // and only in a buffer longer than the mark itself.
        if (length > 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
            index = 0;
        }
    } else {
        index = m_pos - m_bufferStart;
    }
    while (index < last) {
        index += 2;
        if (index > last) {
            m_pos = m_bufferEnd; // a trailing odd byte is neither a stop nor skipped
            return m_pos;
        }
        if (bytes[index] < 0x80 && bytes[index + 1] == 0x00) {
            m_pos = m_bufferStart + index;
            return m_pos;
        }
        m_skipped = true;
    }
    m_pos = m_bufferEnd;
    return m_pos;
}

AbstractTraverser* Utf16LittleTraverser::createNew() const {
    return new (std::nothrow) Utf16LittleTraverser();
}

void Utf16LittleTraverser::resetStateToAscii() {}

} // namespace charsetkit
