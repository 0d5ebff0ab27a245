#ifndef CHARSETKIT_TRAVERSAL_EUCKRTRAVERSER_H
#define CHARSETKIT_TRAVERSAL_EUCKRTRAVERSER_H

#include <charsetkit/traversal/Utf8Traverser.h>

namespace charsetkit {

/// EUC-KR: stops at bytes 0x00-0x7F, stepping over every byte from 0x80 up.
class CHARSETKIT_EXPORT EucKrTraverser final : public Utf8Traverser {
public:
    EucKrTraverser() = default;
    EucKrTraverser(const EucKrTraverser&) = default;
    EucKrTraverser& operator=(const EucKrTraverser&) = default;
    ~EucKrTraverser() override;

    AbstractTraverser* createNew() const override;
};

} // namespace charsetkit

#endif
