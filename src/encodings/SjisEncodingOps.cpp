// Placeholder until the conversion and verification of this encoding are
// built: every operation reports failure rather than a made-up result.
#include <charsetkit/encodings/SjisEncoding.h>

namespace charsetkit {

AbstractTraverser* SjisEncoding::getExactEncodingTraverser() const {
    return nullptr;
}

bool SjisEncoding::convertToUtf8(const char*, unsigned int, std::string&, bool&, bool) const {
    return false;
}

bool SjisEncoding::convertFromUtf8(const char*, unsigned int, std::string&) const {
    return false;
}

bool SjisEncoding::verify(const char*, unsigned int, bool, bool, int) const {
    return false;
}

} // namespace charsetkit
