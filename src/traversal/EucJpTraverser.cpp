#include <charsetkit/traversal/EucJpTraverser.h>

#include <new>

namespace charsetkit {

// Every byte of an EUC-JP multi-byte character lies in 0x80-0xFF, so the
// stepping of Utf8Traverser (stop at every byte below 0x80) applies as is.

EucJpTraverser::~EucJpTraverser() = default;

AbstractTraverser* EucJpTraverser::createNew() const {
    return new (std::nothrow) EucJpTraverser();
}

} // namespace charsetkit
