#include <charsetkit/traversal/Utf16LittleTraverser.h>

#include "traversal/TraverserScan.h"

#include <new>

namespace charsetkit {

Utf16LittleTraverser::~Utf16LittleTraverser() = default;

const char* Utf16LittleTraverser::advanceTo(char byte) {
    TraverserScan::scan(*this, TraverserScan::ByteTarget(byte), m_bufferEnd);
    return m_pos;
}

AbstractTraverser* Utf16LittleTraverser::createNew() const {
    return new (std::nothrow) Utf16LittleTraverser();
}

void Utf16LittleTraverser::resetStateToAscii() {}

} // namespace charsetkit
