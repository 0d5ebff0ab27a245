#ifndef CHARSETKIT_UTILITIES_STRINGUTILS_H
#define CHARSETKIT_UTILITIES_STRINGUTILS_H

#include <charsetkit/charsetkit_export.h>

namespace charsetkit {

/// String helpers shared by the library.
class CHARSETKIT_EXPORT StringUtils {
public:
    /// Compares two NUL-terminated strings, ASCII letters without regard to
    /// case and every other byte exactly. Returns 0 when they are equal, a
    /// negative value when `a` sorts first, a positive one otherwise (bytes
    /// compared as unsigned values after folding A-Z to a-z). A null pointer
    /// matches nothing: the result is non-zero whenever either argument is
    /// null. Thread-safe.
    static int compareCaseNotInline(const char* a, const char* b);
};

} // namespace charsetkit

#endif
