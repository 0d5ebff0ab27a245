// The conversions, verification and traverser of JisEncoding. Names,
// aliases and predicates are in JisEncoding.cpp.
#include <charsetkit/encodings/JisEncoding.h>

#include "encodings/MissingInput.h"

#include <charsetkit/detectors/JisDetectorSM.h>
#include <charsetkit/japanese/JapaneseConversions.h>
#include <charsetkit/traversal/JisTraverser.h>

#include "detectors/JapaneseDrivers.h"

#include <new>

namespace charsetkit {

// Replaces `result` with the text as UTF-8. Never fails: bytes that do not
// fit the encoding are carried over as ISO-8859-1 from the first of them on.
// `unmapped` is only ever set, never cleared.
bool JisEncoding::convertToUtf8(const char* buffer, unsigned int length, std::string& result,
                                bool& unmapped, bool useReplacement) const {
    if (detail::isMissingInput(buffer, length)) {
        return false;
    }
    std::string().swap(result); // drop the old content and its storage
    JisDetectorSM detector;
    return detector.convertToUtf8(buffer, length, result, unmapped, useReplacement);
}

bool JisEncoding::convertFromUtf8(const char* buffer, unsigned int length,
                                  std::string& result) const {
    if (detail::isMissingInput(buffer, length)) {
        return false;
    }
    return JapaneseConversions::utf8ToJapanese(buffer, length, AbstractEncoding::Jis, result);
}

// Runs the machine over the buffer with the escape limits checked after every
// byte (without virtual calls, taking runs of plain ASCII in one step); the text must end in ASCII
// or JIS-Roman mode with no escape sequence open.
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
