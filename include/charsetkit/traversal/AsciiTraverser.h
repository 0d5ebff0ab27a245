#ifndef CHARSETKIT_TRAVERSAL_ASCIITRAVERSER_H
#define CHARSETKIT_TRAVERSAL_ASCIITRAVERSER_H

#include <charsetkit/traversal/AbstractTraverser.h>

namespace charsetkit {

/// Every byte 0x00-0xFF is a stop; skipped() is always false.
class CHARSETKIT_EXPORT AsciiTraverser final : public AbstractTraverser {
public:
    AsciiTraverser() = default;
    AsciiTraverser(const AsciiTraverser&) = default;
    AsciiTraverser& operator=(const AsciiTraverser&) = default;
    ~AsciiTraverser() override;

    /// Every byte is a stop; skipped() is left as it was. At the end it stays
    /// at the end.
    const char* advance() override {
        m_pos = nextPosition();
        return m_pos;
    }
    const char* advanceTo(char byte) override;
    AbstractTraverser* createNew() const override;

protected:
    void resetStateToAscii() override;
};

} // namespace charsetkit

#endif
