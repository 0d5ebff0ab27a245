#include <charsetkit/traversal/Utf16BigTraverser.h>

#include "traversal/TraverserScan.h"

#include <new>

namespace charsetkit {

Utf16BigTraverser::~Utf16BigTraverser() = default;

const char* Utf16BigTraverser::advanceTo(char byte) {
    TraverserScan::scan(*this, TraverserScan::ByteTarget(byte), m_bufferEnd);
    return m_pos;
}

AbstractTraverser* Utf16BigTraverser::createNew() const {
    return new (std::nothrow) Utf16BigTraverser();
}

void Utf16BigTraverser::resetStateToAscii() {}

} // namespace charsetkit
