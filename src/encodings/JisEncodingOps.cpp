// Placeholder until the conversion and verification of this encoding are
// built: every operation reports failure rather than a made-up result.
#include <charsetkit/encodings/JisEncoding.h>

namespace charsetkit {

AbstractTraverser* JisEncoding::getExactEncodingTraverser() const {
    return nullptr;
}

bool JisEncoding::convertToUtf8(const char*, unsigned int, std::string&, bool&, bool) const {
    return false;
}

bool JisEncoding::convertFromUtf8(const char*, unsigned int, std::string&) const {
    return false;
}

bool JisEncoding::verify(const char*, unsigned int, bool, bool, int) const {
    return false;
}

} // namespace charsetkit
