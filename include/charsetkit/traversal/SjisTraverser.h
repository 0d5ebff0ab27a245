#ifndef CHARSETKIT_TRAVERSAL_SJISTRAVERSER_H
#define CHARSETKIT_TRAVERSAL_SJISTRAVERSER_H

#include <charsetkit/traversal/AbstractTraverser.h>

namespace charsetkit {

/// Shift_JIS: single-byte characters below 0x80 and stray bytes are stops;
/// double-byte characters and (while single-byte kana are enabled) half-width
/// katakana are stepped over. The lead byte of a broken pair is a stop.
class CHARSETKIT_EXPORT SjisTraverser : public AbstractTraverser {
public:
    SjisTraverser() = default;
    SjisTraverser(const SjisTraverser&) = default;
    SjisTraverser& operator=(const SjisTraverser&) = default;
    ~SjisTraverser() override;

    const char* advance() override;
    AbstractTraverser* createNew() const override;

protected:
    void resetStateToAscii() override;
};

} // namespace charsetkit

#endif
