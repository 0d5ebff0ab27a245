#include <charsetkit/encodings/JisEncoding.h>

#include "encodings/EncodingLabels.h"

#include "utilities/MissingInput.h"

#include <charsetkit/detectors/JisDetectorSM.h>
#include <charsetkit/traversal/JisTraverser.h>

#include "detectors/JapaneseDrivers.h"
#include "encodings/JapaneseEncodingOps.h"

#include <new>

namespace charsetkit {

const char* JisEncoding::getDisplayName() const {
    return "Japanese (JIS)";
}

const char* JisEncoding::getPreferedID() const {
    return detail::kJisLabels[0];
}

const char* JisEncoding::getJavaName() const {
    return "ISO2022JP";
}

bool JisEncoding::isAliasOrName(const char* name) const {
    return generalCheckAliases(name, detail::kJisLabels);
}

bool JisEncoding::isStateful() const {
    return true;
}

bool JisEncoding::convertToUtf8(const char* buffer, unsigned int length, std::string& result,
                                bool& unmapped, bool useReplacement) const {
    return detail::japaneseToUtf8<JisDetectorSM>(buffer, length, result, unmapped, useReplacement);
}

bool JisEncoding::convertFromUtf8(const char* buffer, unsigned int length,
                                  std::string& result) const {
    return detail::japaneseFromUtf8(buffer, length, AbstractEncoding::Jis, result);
}

// Runs the machine over the buffer with the escape limits checked after every
// byte (without virtual calls, taking runs of plain ASCII in one step); the
// text must end in ASCII or JIS-Roman mode with no escape sequence open.
bool JisEncoding::verify(const char* buffer, unsigned int length, bool verifyCharacters,
                         bool rejectRedundantEscapes, int escapeRunLimit) const {
    if (detail::isMissingInput(buffer, length)) {
        return false;
    }
    JisDetectorSM detector;
    return detail::runJisFast(detector, buffer, length, verifyCharacters, rejectRedundantEscapes,
                              escapeRunLimit);
}

AbstractTraverser* JisEncoding::getExactEncodingTraverser() const {
    return new (std::nothrow) JisTraverser();
}

} // namespace charsetkit
