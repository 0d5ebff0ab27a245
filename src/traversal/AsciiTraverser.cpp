#include <charsetkit/traversal/AsciiTraverser.h>

#include <new>

namespace charsetkit {

AsciiTraverser::~AsciiTraverser() = default;

const char* AsciiTraverser::advance() {
    // Every byte is a stop; m_skipped is never set. At the end it stays there.
    m_pos = nextPosition();
    return m_pos;
}

AbstractTraverser* AsciiTraverser::createNew() const {
    return new (std::nothrow) AsciiTraverser();
}

void AsciiTraverser::resetStateToAscii() {}

} // namespace charsetkit
