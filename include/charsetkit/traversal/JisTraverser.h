#ifndef CHARSETKIT_TRAVERSAL_JISTRAVERSER_H
#define CHARSETKIT_TRAVERSAL_JISTRAVERSER_H

#include <charsetkit/traversal/AbstractTraverser.h>

namespace charsetkit {

/// ISO-2022-JP: bytes read in ASCII or JIS-Roman mode are stops; escape
/// sequences and every byte of a two-byte or katakana stretch are stepped
/// over. The ESC of a broken escape sequence is a stop.
class CHARSETKIT_EXPORT JisTraverser final : public AbstractTraverser {
public:
    JisTraverser() = default;
    JisTraverser(const JisTraverser&) = default;
    JisTraverser& operator=(const JisTraverser&) = default;
    ~JisTraverser() override;

    /// Each call starts in ASCII mode, where every byte but ESC is a stop;
    /// an ESC goes to the out-of-line walk over escape sequences and shifted
    /// stretches. At the end it stays at the end.
    const char* advance() override {
        const char* const p = nextPosition();
        if (p < m_bufferEnd && *p != '\x1B') {
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
    /// advance() from `p`, the first byte it reads, when that byte is ESC or
    /// is the end.
    const char* walkFrom(const char* p);
};

} // namespace charsetkit

#endif
