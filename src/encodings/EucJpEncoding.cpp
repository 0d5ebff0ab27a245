#include <charsetkit/encodings/EucJpEncoding.h>

#include "encodings/EncodingLabels.h"

#include <charsetkit/detectors/EucJpDetectorSM.h>
#include <charsetkit/traversal/EucJpTraverser.h>

#include "detectors/EucJpBlocks.h"
#include "encodings/JapaneseEncodingOps.h"
#include "utilities/MissingInput.h"

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

// The escape limits do not apply to this encoding. Whole blocks of plain
// ASCII and JIS X 0208 pairs are checked at once (EucJpBlocks.h); the
// machine reads the rest.
bool EucJpEncoding::verify(const char* buffer, unsigned int length, bool verifyCharacters,
                           bool /*rejectRedundantEscapes*/, int /*escapeRunLimit*/) const {
    if (detail::isMissingInput(buffer, length)) {
        return false;
    }
    return detail::eucjp::verifyBlocks(reinterpret_cast<const unsigned char*>(buffer), length,
                                       verifyCharacters);
}

AbstractTraverser* EucJpEncoding::getExactEncodingTraverser() const {
    return new (std::nothrow) EucJpTraverser();
}

} // namespace charsetkit
