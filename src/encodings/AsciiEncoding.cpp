#include <charsetkit/encodings/AsciiEncoding.h>

#include "encodings/EncodingLabels.h"

#include "utilities/MissingInput.h"

#include <charsetkit/detectors/AsciiDetectorSM.h>
#include <charsetkit/traversal/AsciiTraverser.h>

#include <new>

#include "detectors/StatelessDriver.h"
#include "encodings/CopyBytes.h"

namespace charsetkit {

const char* AsciiEncoding::getDisplayName() const {
    return "Western";
}

const char* AsciiEncoding::getPreferedID() const {
    return detail::kWesternLabels[0];
}

const char* AsciiEncoding::getJavaName() const {
    return "ISO8859_1";
}

bool AsciiEncoding::isAliasOrName(const char* name) const {
    return generalCheckAliases(name, detail::kWesternLabels);
}

bool AsciiEncoding::isKindOfUtf8() const {
    return true;
}

bool AsciiEncoding::isAscii() const {
    return true;
}

bool AsciiEncoding::isStateful() const {
    return false;
}

bool AsciiEncoding::verifyLowAscii(const char* buffer, unsigned int length) {
    if (detail::isMissingInput(buffer, length)) {
        return false;
    }
    for (unsigned int i = 0; i < length; ++i) {
        const auto b = static_cast<unsigned char>(buffer[i]);
        if (b >= 0x80 || b == 0x1B || b == 0x0E || b == 0x0F) {
            return false;
        }
    }
    return true;
}

AbstractTraverser* AsciiEncoding::getExactEncodingTraverser() const {
    return new (std::nothrow) AsciiTraverser();
}

bool AsciiEncoding::convertToUtf8(const char* buffer, unsigned int length, std::string& result,
                                  bool& unmapped, bool /*useReplacement*/) const {
    if (detail::isMissingInput(buffer, length)) {
        return false;
    }
    // Western text is taken as it is: bytes 0x80-0xFF pass through unchanged.
    unmapped = false;
    copyBytes(buffer, length, result);
    return true;
}

bool AsciiEncoding::convertFromUtf8(const char* /*buffer*/, unsigned int /*length*/,
                                    std::string& /*result*/) const {
    // Conversion into the Western encoding is not offered.
    return false;
}

bool AsciiEncoding::verify(const char* buffer, unsigned int length, bool verifyCharacters,
                           bool rejectRedundantEscapes, int escapeRunLimit) const {
    if (detail::isMissingInput(buffer, length)) {
        return false;
    }
    // The escape limits play no part for this encoding.
    static_cast<void>(rejectRedundantEscapes);
    static_cast<void>(escapeRunLimit);
    AsciiDetectorSM detector;
    return detail::runStatelessFast(detector, buffer, length, verifyCharacters);
}

} // namespace charsetkit
