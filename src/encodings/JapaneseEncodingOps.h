// The conversions and verification shared by the three Japanese encodings,
// each served by its detector machine and the Japanese code tables.
#ifndef CHARSETKIT_SRC_ENCODINGS_JAPANESEENCODINGOPS_H
#define CHARSETKIT_SRC_ENCODINGS_JAPANESEENCODINGOPS_H

#include "detectors/JapaneseDrivers.h"
#include "utilities/MissingInput.h"

#include <charsetkit/encodings/AbstractEncoding.h>
#include <charsetkit/japanese/JapaneseConversions.h>

#include <string>

namespace charsetkit {
namespace detail {

/// Replaces `result` with the text as UTF-8 through `Machine`'s converter.
/// Never fails on present input: bytes that do not fit the encoding are
/// carried over as ISO-8859-1 from the first of them on. `unmapped` is only
/// ever set, never cleared. A null buffer with a length fails and leaves
/// `result` untouched.
template <class Machine>
bool japaneseToUtf8(const char* buffer, unsigned int length, std::string& result, bool& unmapped,
                    bool useReplacement) {
    if (isMissingInput(buffer, length)) {
        return false;
    }
    std::string().swap(result); // drop the old content and its storage
    Machine detector;
    return detector.convertToUtf8(buffer, length, result, unmapped, useReplacement);
}

/// Replaces `result` with the UTF-8 text in the Japanese encoding `id`.
inline bool japaneseFromUtf8(const char* buffer, unsigned int length,
                             AbstractEncoding::EncodingID id, std::string& result) {
    if (isMissingInput(buffer, length)) {
        return false;
    }
    return JapaneseConversions::utf8ToJapanese(buffer, length, id, result);
}

} // namespace detail
} // namespace charsetkit

#endif
