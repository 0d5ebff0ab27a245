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

    /// Stops are the bytes 0x00-0x7F; every byte from 0x80 up is stepped over
    /// on its own, whatever sequence it belongs to. The EUC traversers step
    /// the same way, so no class below this one changes it.
    const char* advance() final {
        const char* const from = nextPosition();
        const char* p = from;
        while (p < m_bufferEnd && static_cast<unsigned char>(*p) >= 0x80) {
            ++p;
        }
        m_skipped = p != from;
        m_pos = p;
        return m_pos;
    }
    const char* advanceTo(char byte) final;
    AbstractTraverser* createNew() const override;

protected:
    void resetStateToAscii() override;
};

} // namespace charsetkit

#endif
