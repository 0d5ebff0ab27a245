#include <charsetkit/traversal/Utf8Traverser.h>

#include <new>

namespace charsetkit {

Utf8Traverser::~Utf8Traverser() = default;

const char* Utf8Traverser::advance() {
    // Stops are the bytes 0x00-0x7F; every byte from 0x80 up is stepped over
    // on its own, whatever sequence it belongs to.
    m_skipped = false;
    for (const char* p = nextPosition(); p < m_bufferEnd; ++p) {
        if (static_cast<unsigned char>(*p) < 0x80) {
            m_pos = p;
            return m_pos;
        }
        m_skipped = true;
    }
    m_pos = m_bufferEnd;
    return m_pos;
}

AbstractTraverser* Utf8Traverser::createNew() const {
    return new (std::nothrow) Utf8Traverser();
}

void Utf8Traverser::resetStateToAscii() {}

} // namespace charsetkit
