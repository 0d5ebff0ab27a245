// Placeholder until the conversion and verification of this encoding are
// built: every operation reports failure rather than a made-up result.
#include <charsetkit/encodings/EucJpEncoding.h>

namespace charsetkit {

AbstractTraverser* EucJpEncoding::getExactEncodingTraverser() const {
    return nullptr;
}

bool EucJpEncoding::convertToUtf8(const char*, unsigned int, std::string&, bool&, bool) const {
    return false;
}

bool EucJpEncoding::convertFromUtf8(const char*, unsigned int, std::string&) const {
    return false;
}

bool EucJpEncoding::verify(const char*, unsigned int, bool, bool, int) const {
    return false;
}

} // namespace charsetkit
