#include <charsetkit/encodings/EucJpEncoding.h>

#include "encodings/EncodingLabels.h"

#include <charsetkit/detectors/EucJpDetectorSM.h>
#include <charsetkit/traversal/EucJpTraverser.h>

#include "encodings/JapaneseEncodingOps.h"

#include <new>

namespace charsetkit {

const char* EucJpEncoding::getDisplayName() const {
    return "Japanese (EUC)";
}

const char* EucJpEncoding::getPreferedID() const {
    return detail::kEucJpLabels[0];
}

const char* EucJpEncoding::getJavaName() const {
    return "EUC_JP";
}

bool EucJpEncoding::isAliasOrName(const char* name) const {
    return generalCheckAliases(name, detail::kEucJpLabels);
}

bool EucJpEncoding::isStateful() const {
    return false;
}

bool EucJpEncoding::convertToUtf8(const char* buffer, unsigned int length, std::string& result,
                                  bool& unmapped, bool useReplacement) const {
    return detail::japaneseToUtf8<EucJpDetectorSM>(buffer, length, result, unmapped,
                                                   useReplacement);
}

bool EucJpEncoding::convertFromUtf8(const char* buffer, unsigned int length,
                                    std::string& result) const {
    return detail::japaneseFromUtf8(buffer, length, AbstractEncoding::EucJp, result);
}

// The escape limits do not apply to this encoding.
bool EucJpEncoding::verify(const char* buffer, unsigned int length, bool verifyCharacters,
                           bool /*rejectRedundantEscapes*/, int /*escapeRunLimit*/) const {
    return detail::verifyJapaneseStateless<EucJpDetectorSM>(buffer, length, verifyCharacters);
}

AbstractTraverser* EucJpEncoding::getExactEncodingTraverser() const {
    return new (std::nothrow) EucJpTraverser();
}

} // namespace charsetkit
