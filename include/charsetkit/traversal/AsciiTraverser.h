#ifndef CHARSETKIT_TRAVERSAL_ASCIITRAVERSER_H
#define CHARSETKIT_TRAVERSAL_ASCIITRAVERSER_H

#include <charsetkit/traversal/AbstractTraverser.h>

namespace charsetkit {

/// Every byte 0x00-0xFF is a stop; skipped() is always false.
class CHARSETKIT_EXPORT AsciiTraverser : public AbstractTraverser {
public:
    AsciiTraverser() = default;
    AsciiTraverser(const AsciiTraverser&) = default;
    AsciiTraverser& operator=(const AsciiTraverser&) = default;
    ~AsciiTraverser() override;

    const char* advance() override;
    AbstractTraverser* createNew() const override;

protected:
    void resetStateToAscii() override;
};

} // namespace charsetkit

#endif
