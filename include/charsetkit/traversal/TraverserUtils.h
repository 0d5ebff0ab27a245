#ifndef CHARSETKIT_TRAVERSAL_TRAVERSERUTILS_H
#define CHARSETKIT_TRAVERSAL_TRAVERSERUTILS_H

#include <charsetkit/traversal/AbstractTraverser.h>

#include <string>

namespace charsetkit {

/// Algorithms over traversers.
class CHARSETKIT_EXPORT TraverserUtils {
public:
    /// Decodes percent escapes ('%' and two hexadecimal digits) found at the
    /// positions where `traverser` stops, so that a '%' inside a multi-byte
    /// character is never decoded. '+' and all other bytes are copied.
    /// A '%' among the last two bytes is copied unchanged; decoded bytes are
    /// never scanned again. Returns true with the decoded text in `out`, or
    /// false with an exact copy of the input in `out` when some '%' at a stop
    /// is not followed by two hexadecimal digits. `out` is replaced in both
    /// cases. The traverser is rebound to the input and left where the scan
    /// stopped; the caller keeps ownership. A null traverser, a negative
    /// length or a null input with a non-zero length gives false with `out`
    /// emptied.
    static bool hexDecode(std::string& out, const char* in, int length,
                          AbstractTraverser* traverser);

private:
    static char hexValue(char high, char low);
};

} // namespace charsetkit

#endif
