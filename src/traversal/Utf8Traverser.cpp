#include <charsetkit/traversal/Utf8Traverser.h>

#include "traversal/TraverserScan.h"

#include <new>

namespace charsetkit {

Utf8Traverser::~Utf8Traverser() = default;

const char* Utf8Traverser::advanceTo(char byte) {
    TraverserScan::scan(*this, TraverserScan::ByteTarget(byte), m_bufferEnd);
    return m_pos;
}

AbstractTraverser* Utf8Traverser::createNew() const {
    return new (std::nothrow) Utf8Traverser();
}

void Utf8Traverser::resetStateToAscii() {}

} // namespace charsetkit
