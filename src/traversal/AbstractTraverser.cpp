#include <charsetkit/traversal/AbstractTraverser.h>

#include <climits>

namespace charsetkit {

AbstractTraverser::~AbstractTraverser() = default;

void AbstractTraverser::setNewBuffer(const std::string& buffer) {
    // Buffers beyond INT_MAX bytes are bound up to that many bytes.
    const int length = buffer.size() > static_cast<std::size_t>(INT_MAX)
                           ? INT_MAX
                           : static_cast<int>(buffer.size());
    setNewBuffer(buffer.data(), length);
}

void AbstractTraverser::setNewBuffer(const char* buffer, int length) {
    if (buffer == nullptr || length < 0) {
        length = 0;
    }
    m_bufferStart = buffer;
    m_bufferEnd = buffer == nullptr ? buffer : buffer + length;
    m_pos = m_bufferStart;
    m_bufferSet = true;
    resetStateToAscii();
    // "One before the first byte" is a null position; the first advance steps
    // from there onto the first byte.
    m_pos = nullptr;
    advance();
}

bool AbstractTraverser::skipped() const {
    return m_skipped;
}

const char* AbstractTraverser::advanceTo(char byte) {
    // A traverser of another class: its own steps, one call each.
    do {
        advance();
    } while (!isEnd() && *m_pos != byte);
    return m_pos;
}

} // namespace charsetkit
