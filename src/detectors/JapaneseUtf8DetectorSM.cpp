#include <charsetkit/detectors/JapaneseUtf8DetectorSM.h>

#include <charsetkit/japanese/JapaneseConversions.h>

namespace charsetkit {

// A character counts as Japanese when the JIS tables have a code for it.
bool JapaneseUtf8DetectorSM::verifyChar(const unsigned char* bytes, int length) {
    return JapaneseConversions::verifyUtf8(bytes, length);
}

} // namespace charsetkit
