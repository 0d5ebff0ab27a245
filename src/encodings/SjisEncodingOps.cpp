// The conversions, verification and traverser of SjisEncoding. Names,
// aliases and predicates are in SjisEncoding.cpp.
#include <charsetkit/encodings/SjisEncoding.h>

#include "encodings/MissingInput.h"

#include <charsetkit/detectors/SjisDetectorSM.h>
#include <charsetkit/japanese/JapaneseConversions.h>
#include <charsetkit/traversal/SjisTraverser.h>

#include "detectors/JapaneseDrivers.h"

#include <new>

namespace charsetkit {

// Replaces `result` with the text as UTF-8. Never fails: bytes that do not
// fit the encoding are carried over as ISO-8859-1 from the first of them on.
// `unmapped` is only ever set, never cleared.
bool SjisEncoding::convertToUtf8(const char* buffer, unsigned int length, std::string& result,
                                 bool& unmapped, bool useReplacement) const {
    if (detail::isMissingInput(buffer, length)) {
        return false;
    }
    std::string().swap(result); // drop the old content and its storage
    SjisDetectorSM detector;
    return detector.convertToUtf8(buffer, length, result, unmapped, useReplacement);
}

bool SjisEncoding::convertFromUtf8(const char* buffer, unsigned int length,
                                   std::string& result) const {
    if (detail::isMissingInput(buffer, length)) {
        return false;
    }
    return JapaneseConversions::utf8ToJapanese(buffer, length, AbstractEncoding::Sjis, result);
}

// Runs the machine over the buffer (without virtual calls, taking runs of
// plain ASCII in one step) and fails at the first invalid byte. The
// escape limits do not apply, and the end of the buffer is not examined: a
// buffer that ends after the first byte of a character verifies.
bool SjisEncoding::verify(const char* buffer, unsigned int length, bool verifyCharacters,
                          bool rejectRedundantEscapes, int escapeRunLimit) const {
    if (detail::isMissingInput(buffer, length)) {
        return false;
    }
    static_cast<void>(rejectRedundantEscapes);
    static_cast<void>(escapeRunLimit);
    SjisDetectorSM detector;
    return detail::runJapaneseStatelessFast(detector, buffer, length, verifyCharacters);
}

AbstractTraverser* SjisEncoding::getExactEncodingTraverser() const {
    return new (std::nothrow) SjisTraverser();
}

} // namespace charsetkit
