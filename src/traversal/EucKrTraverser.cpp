#include <charsetkit/traversal/EucKrTraverser.h>

#include <new>

namespace charsetkit {

// Every byte of an EUC-KR double-byte character lies in 0x80-0xFF, so the
// stepping of Utf8Traverser (stop at every byte below 0x80) applies as is.

EucKrTraverser::~EucKrTraverser() = default;

AbstractTraverser* EucKrTraverser::createNew() const {
    return new (std::nothrow) EucKrTraverser();
}

} // namespace charsetkit
