#include <charsetkit/traversal/AsciiTraverser.h>

#include "traversal/TraverserScan.h"

#include <new>

namespace charsetkit {

AsciiTraverser::~AsciiTraverser() = default;

const char* AsciiTraverser::advanceTo(char byte) {
    TraverserScan::scan(*this, TraverserScan::ByteTarget(byte), m_bufferEnd);
    return m_pos;
}

AbstractTraverser* AsciiTraverser::createNew() const {
    return new (std::nothrow) AsciiTraverser();
}

void AsciiTraverser::resetStateToAscii() {}

} // namespace charsetkit
