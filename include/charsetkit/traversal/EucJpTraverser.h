#ifndef CHARSETKIT_TRAVERSAL_EUCJPTRAVERSER_H
#define CHARSETKIT_TRAVERSAL_EUCJPTRAVERSER_H

#include <charsetkit/traversal/Utf8Traverser.h>

namespace charsetkit {

/// EUC-JP: stops at bytes 0x00-0x7F, stepping over every byte from 0x80 up.
/// Its destructor and createNew are private: reach them through an
/// AbstractTraverser pointer or reference.
class CHARSETKIT_EXPORT EucJpTraverser final : public Utf8Traverser {
public:
    EucJpTraverser() = default;
    EucJpTraverser(const EucJpTraverser&) = default;
    EucJpTraverser& operator=(const EucJpTraverser&) = default;

private:
    ~EucJpTraverser() override;
    AbstractTraverser* createNew() const override;
};

} // namespace charsetkit

#endif
