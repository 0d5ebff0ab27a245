#include <charsetkit/encodings/SjisEncoding.h>

#include "encodings/EncodingLabels.h"

#include <charsetkit/detectors/SjisDetectorSM.h>
#include <charsetkit/traversal/SjisTraverser.h>

#include "encodings/JapaneseEncodingOps.h"

#include <new>

namespace charsetkit {

const char* SjisEncoding::getDisplayName() const {
    return "Japanese (Shift-JIS)";
}

const char* SjisEncoding::getPreferedID() const {
    return detail::kSjisLabels[0];
}

const char* SjisEncoding::getJavaName() const {
    return "SJIS";
}

bool SjisEncoding::isAliasOrName(const char* name) const {
    return generalCheckAliases(name, detail::kSjisLabels);
}

bool SjisEncoding::isStateful() const {
    return false;
}

bool SjisEncoding::convertToUtf8(const char* buffer, unsigned int length, std::string& result,
                                 bool& unmapped, bool useReplacement) const {
    return detail::japaneseToUtf8<SjisDetectorSM>(buffer, length, result, unmapped, useReplacement);
}

bool SjisEncoding::convertFromUtf8(const char* buffer, unsigned int length,
                                   std::string& result) const {
    return detail::japaneseFromUtf8(buffer, length, AbstractEncoding::Sjis, result);
}

// The escape limits do not apply to this encoding.
bool SjisEncoding::verify(const char* buffer, unsigned int length, bool verifyCharacters,
                          bool /*rejectRedundantEscapes*/, int /*escapeRunLimit*/) const {
    return detail::verifyJapaneseStateless<SjisDetectorSM>(buffer, length, verifyCharacters);
}

AbstractTraverser* SjisEncoding::getExactEncodingTraverser() const {
    return new (std::nothrow) SjisTraverser();
}

} // namespace charsetkit
