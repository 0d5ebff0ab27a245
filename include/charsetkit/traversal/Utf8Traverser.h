#ifndef CHARSETKIT_TRAVERSAL_UTF8TRAVERSER_H
#define CHARSETKIT_TRAVERSAL_UTF8TRAVERSER_H

#include <charsetkit/traversal/AbstractTraverser.h>

namespace charsetkit {

/// Stops at bytes 0x00-0x7F; every byte 0x80-0xFF is stepped over without decoding.
class CHARSETKIT_EXPORT Utf8Traverser : public AbstractTraverser {
public:
    Utf8Traverser() = default;
    Utf8Traverser(const Utf8Traverser&) = default;
    Utf8Traverser& operator=(const Utf8Traverser&) = default;
    ~Utf8Traverser() override;

    const char* advance() override;
    AbstractTraverser* createNew() const override;

protected:
    void resetStateToAscii() override;
};

} // namespace charsetkit

#endif
