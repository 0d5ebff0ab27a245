#ifndef CHARSETKIT_TRAVERSAL_UTF16BIGTRAVERSER_H
#define CHARSETKIT_TRAVERSAL_UTF16BIGTRAVERSER_H

#include <charsetkit/traversal/AbstractTraverser.h>

namespace charsetkit {

/// UTF-16 big-endian: a code unit 0x0000-0x007F is a stop, and the position is
/// its second (low-order) byte. A leading FE FF mark in a buffer longer than
/// two bytes is passed over without counting as skipped.
class CHARSETKIT_EXPORT Utf16BigTraverser : public AbstractTraverser {
public:
    Utf16BigTraverser() = default;
    Utf16BigTraverser(const Utf16BigTraverser&) = default;
    Utf16BigTraverser& operator=(const Utf16BigTraverser&) = default;
    ~Utf16BigTraverser() override;

    const char* advance() override;
    AbstractTraverser* createNew() const override;

protected:
    void resetStateToAscii() override;
};

} // namespace charsetkit

#endif
