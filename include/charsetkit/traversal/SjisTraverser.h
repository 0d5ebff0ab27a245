#ifndef CHARSETKIT_TRAVERSAL_SJISTRAVERSER_H
#define CHARSETKIT_TRAVERSAL_SJISTRAVERSER_H

#include <charsetkit/traversal/AbstractTraverser.h>

namespace charsetkit {

/// Shift_JIS: single-byte characters below 0x80 and stray bytes are stops;
/// double-byte characters and (while single-byte kana are enabled) half-width
/// katakana are stepped over. The lead byte of a broken pair is a stop.
class CHARSETKIT_EXPORT SjisTraverser final : public AbstractTraverser {
public:
    SjisTraverser() = default;
    SjisTraverser(const SjisTraverser&) = default;
    SjisTraverser& operator=(const SjisTraverser&) = default;
    ~SjisTraverser() override;

    /// A byte below 0x80 read between characters is a stop; anything else
    /// goes to the out-of-line walk over katakana and double-byte pairs. At
    /// the end it stays at the end.
    const char* advance() override {
        const char* const p = nextPosition();
        if (p < m_bufferEnd && static_cast<unsigned char>(*p) < 0x80) {
            m_skipped = false;
            m_pos = p;
            return m_pos;
        }
        return walkFrom(p);
    }
    const char* advanceTo(char byte) override;
    AbstractTraverser* createNew() const override;

protected:
    void resetStateToAscii() override;

private:
    /// advance() from `p`, the first byte it reads, when that byte is not
    /// below 0x80 or is the end.
    const char* walkFrom(const char* p);
};

} // namespace charsetkit

#endif
