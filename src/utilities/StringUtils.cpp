#include <charsetkit/utilities/StringUtils.h>

namespace charsetkit {

namespace {

// Folds the ASCII letters A-Z to a-z; every other byte stays as it is.
unsigned char foldAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

} // namespace

int StringUtils::compareCaseNotInline(const char* a, const char* b) {
    if (a == nullptr || b == nullptr) {
        // A null string matches nothing, not even another null string.
        return (a == nullptr) ? -1 : 1;
    }
    for (;; ++a, ++b) {
        const unsigned char ca = foldAscii(static_cast<unsigned char>(*a));
        const unsigned char cb = foldAscii(static_cast<unsigned char>(*b));
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
        if (ca == 0) {
            return 0;
        }
    }
}

} // namespace charsetkit
