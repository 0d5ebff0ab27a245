#ifndef CHARSETKIT_TRAVERSAL_UTF16LITTLETRAVERSER_H
#define CHARSETKIT_TRAVERSAL_UTF16LITTLETRAVERSER_H

#include <charsetkit/traversal/AbstractTraverser.h>

namespace charsetkit {

/// UTF-16 little-endian: a code unit 0x0000-0x007F is a stop, and the position
/// is its first (low-order) byte. A leading FF FE mark in a buffer longer than
/// two bytes is passed over without counting as skipped.
class CHARSETKIT_EXPORT Utf16LittleTraverser : public AbstractTraverser {
public:
    Utf16LittleTraverser() = default;
    Utf16LittleTraverser(const Utf16LittleTraverser&) = default;
    Utf16LittleTraverser& operator=(const Utf16LittleTraverser&) = default;
    ~Utf16LittleTraverser() override;

    const char* advance() override;
    AbstractTraverser* createNew() const override;

protected:
    void resetStateToAscii() override;
};

} // namespace charsetkit

#endif
