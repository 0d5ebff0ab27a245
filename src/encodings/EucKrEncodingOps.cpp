// Placeholder until the conversion and verification of this encoding are
// built: every operation reports failure rather than a made-up result.
#include <charsetkit/encodings/EucKrEncoding.h>

namespace charsetkit {

AbstractTraverser* EucKrEncoding::getExactEncodingTraverser() const {
    return nullptr;
}

bool EucKrEncoding::convertToUtf8(const char*, unsigned int, std::string&, bool&, bool) const {
    return false;
}

bool EucKrEncoding::convertFromUtf8(const char*, unsigned int, std::string&) const {
    return false;
}

bool EucKrEncoding::verify(const char*, unsigned int, bool, bool, int) const {
    return false;
}

} // namespace charsetkit
