#include <charsetkit/encodings/EucJpEncoding.h>

#include <charsetkit/detectors/EucJpDetectorSM.h>
#include <charsetkit/traversal/EucJpTraverser.h>

#include "encodings/JapaneseEncodingOps.h"

#include <new>

namespace charsetkit {

// The charset labels of the encoding; the first is the preferred name.
const char* const EucJpEncoding::ms_aliases[] = {
    "euc-jp",
    "Extended_UNIX_Code_Packed_Format_for_Japanese",
    "csEUCPkdFmtJapanese",
    "x-euc-jp",
    "x-euc",
    nullptr,
};

const char* EucJpEncoding::getDisplayName() const {
    return "Japanese (EUC)";
}

const char* EucJpEncoding::getPreferedID() const {
    return ms_aliases[0];
}

const char* EucJpEncoding::getJavaName() const {
    return "EUC_JP";
}

bool EucJpEncoding::isAliasOrName(const char* name) const {
    return generalCheckAliases(name, ms_aliases);
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
