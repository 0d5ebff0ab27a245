#include <charsetkit/encodings/SjisEncoding.h>

#include "encodings/EncodingLabels.h"

#include <charsetkit/detectors/SjisDetectorSM.h>
#include <charsetkit/traversal/SjisTraverser.h>

#include "detectors/SjisBlocks.h"
#include "encodings/JapaneseEncodingOps.h"
#include "utilities/MissingInput.h"

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

// The escape limits do not apply to this encoding. The buffer is read in
// whole blocks; the answer is the machine's.
bool SjisEncoding::verify(const char* buffer, unsigned int length, bool verifyCharacters,
                          bool /*rejectRedundantEscapes*/, int /*escapeRunLimit*/) const {
    if (detail::isMissingInput(buffer, length)) {
        return false;
    }
    return detail::sjis::verifiedPrefix(reinterpret_cast<const unsigned char*>(buffer), length,
                                        verifyCharacters) == length;
}

AbstractTraverser* SjisEncoding::getExactEncodingTraverser() const {
    return new (std::nothrow) SjisTraverser();
}

} // namespace charsetkit
