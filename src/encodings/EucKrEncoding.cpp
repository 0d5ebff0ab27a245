#include <charsetkit/encodings/EucKrEncoding.h>

#include "encodings/EncodingLabels.h"
#include <charsetkit/korean/KoreanUtil.h>
#include <charsetkit/traversal/EucKrTraverser.h>

#include <new>

namespace charsetkit {

const char* EucKrEncoding::getDisplayName() const {
    return "Korean (EUC)";
}

const char* EucKrEncoding::getPreferedID() const {
    return detail::kEucKrLabels[0];
}

const char* EucKrEncoding::getJavaName() const {
    return "EUC_KR";
}

bool EucKrEncoding::isAliasOrName(const char* name) const {
    return generalCheckAliases(name, detail::kEucKrLabels);
}

bool EucKrEncoding::isStateful() const {
    return false;
}

namespace {

const unsigned char* asBytes(const char* buffer) {
    return reinterpret_cast<const unsigned char*>(buffer);
}

} // namespace

AbstractTraverser* EucKrEncoding::getExactEncodingTraverser() const {
    return new (std::nothrow) EucKrTraverser();
}

// Korean has no tagged codes for unmapped characters: a character the
// library cannot map fails the whole conversion, so `unmapped` is never set
// and `useReplacement` has nothing to replace.
bool EucKrEncoding::convertToUtf8(const char* buffer, unsigned int length, std::string& result,
                                  bool& /*unmapped*/, bool /*useReplacement*/) const {
    return KoreanUtil::getInstance()->convertToUtf8(asBytes(buffer), length, result);
}

bool EucKrEncoding::convertFromUtf8(const char* buffer, unsigned int length,
                                    std::string& result) const {
    return KoreanUtil::getInstance()->convertFromUtf8(asBytes(buffer), length, result);
}

// The code page 949 layout check; there are no code tables to consult and no
// escapes, so the flags and the limit do not apply.
bool EucKrEncoding::verify(const char* buffer, unsigned int length, bool /*verifyCharacters*/,
                           bool /*rejectRedundantEscapes*/, int /*escapeRunLimit*/) const {
    return KoreanUtil::getInstance()->isEucKrCharSet(asBytes(buffer), length);
}

} // namespace charsetkit
