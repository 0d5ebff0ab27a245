#ifndef CHARSETKIT_TRAVERSAL_JISTRAVERSER_H
#define CHARSETKIT_TRAVERSAL_JISTRAVERSER_H

#include <charsetkit/traversal/AbstractTraverser.h>

namespace charsetkit {

/// ISO-2022-JP: bytes read in ASCII or JIS-Roman mode are stops; escape
/// sequences and every byte of a two-byte or katakana stretch are stepped
/// over. The ESC of a broken escape sequence is a stop.
class CHARSETKIT_EXPORT JisTraverser : public AbstractTraverser {
public:
    JisTraverser() = default;
    JisTraverser(const JisTraverser&) = default;
    JisTraverser& operator=(const JisTraverser&) = default;
    ~JisTraverser() override;

    const char* advance() override;
    AbstractTraverser* createNew() const override;

protected:
    void resetStateToAscii() override;
};

} // namespace charsetkit

#endif
