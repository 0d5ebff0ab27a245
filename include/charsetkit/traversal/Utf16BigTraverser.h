#ifndef CHARSETKIT_TRAVERSAL_UTF16BIGTRAVERSER_H
#define CHARSETKIT_TRAVERSAL_UTF16BIGTRAVERSER_H

#include <charsetkit/traversal/AbstractTraverser.h>

#include <cstddef>

namespace charsetkit {

/// UTF-16 big-endian: a code unit 0x0000-0x007F is a stop, and the position is
/// its second (low-order) byte. A leading FE FF mark in a buffer longer than
/// two bytes is passed over without counting as skipped.
class CHARSETKIT_EXPORT Utf16BigTraverser final : public AbstractTraverser {
public:
    Utf16BigTraverser() = default;
    Utf16BigTraverser(const Utf16BigTraverser&) = default;
    Utf16BigTraverser& operator=(const Utf16BigTraverser&) = default;
    ~Utf16BigTraverser() override;

    /// Positions are indices into the buffer and name the second (low-order)
    /// byte of a code unit; -1 stands for "before the first unit", so no
    /// pointer outside the buffer is ever formed. At the end it stays at the
    /// end.
    const char* advance() override {
        m_skipped = false;
        const auto* bytes = reinterpret_cast<const unsigned char*>(m_bufferStart);
        const std::ptrdiff_t length = m_bufferEnd - m_bufferStart;
        const std::ptrdiff_t last = length - 1;
        std::ptrdiff_t index;
        if (beforeFirstByte()) {
            index = -1;
            // Only the first step after binding passes over a byte-order
            // mark, and only in a buffer longer than the mark itself.
            if (length > 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
                index += 2;
            }
        } else {
            index = m_pos - m_bufferStart;
        }
        while (index < last) {
            index += 2;
            if (index > last) {
                break; // a trailing odd byte is neither a stop nor skipped
            }
            if (bytes[index - 1] == 0x00 && bytes[index] < 0x80) {
                m_pos = m_bufferStart + index;
                return m_pos;
            }
            m_skipped = true;
        }
        m_pos = m_bufferEnd;
        return m_pos;
    }
    const char* advanceTo(char byte) override;
    AbstractTraverser* createNew() const override;

protected:
    void resetStateToAscii() override;
};

} // namespace charsetkit

#endif
