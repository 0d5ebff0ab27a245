#include <charsetkit/detectors/EucJpDetectorSM.h>

#include "utilities/MissingInput.h"

#include <charsetkit/japanese/JapaneseConversions.h>

#include "detectors/EucJpStep.h"
#include "detectors/JapaneseOutput.h"
#include "utilities/Settings.h"

namespace charsetkit {

namespace {

using namespace detail::eucjp;

} // namespace

void EucJpDetectorSM::processByte(unsigned char byte, bool verifyCharacters) {
    detail::eucjp::step(*this, byte, verifyCharacters);
}

bool EucJpDetectorSM::convertToUtf8(const char* buffer, unsigned int length, std::string& result,
                                    bool& unmapped, bool useReplacement) {
    if (detail::isMissingInput(buffer, length)) {
        return false;
    }
    detail::reserveForConversion(result, length);
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer);
    // Index of the first byte of the character being read: the bytes from
    // there on have been consumed without output yet.
    unsigned int pending = 0;
    for (unsigned int i = 0; i < length; ++i) {
        const unsigned char byte = bytes[i];
        const bool failedBefore = m_error;
        EucJpDetectorSM::processByte(byte, false);
        if (m_error) {
            // From the first failure on, the input is read as ISO-8859-1,
            // the bytes of the character it interrupted included.
            detail::appendLatin1Range(bytes + (failedBefore ? i : pending), bytes + i + 1, result);
            continue;
        }
        switch (m_state) {
        case SingleByte:
            detail::appendLatin1(byte, result);
            // The plain ASCII that follows is copied as it is, but for its
            // last byte, which goes through the machine: a run leaves the
            // machine as its last byte alone would.
            i += detail::copyPlainAsciiRun(bytes, i + 1, length, result);
            break;
        case Jis0208:
            detail::appendCodePoint(
                JapaneseConversions::jis0208ToUnicodeFix(m_firstByte * 256 + byte - 0x8080,
                                                         useReplacement, unmapped),
                result);
            break;
        case Kana:
            detail::appendCodePoint(
                JapaneseConversions::jis0201ToUnicodeFix(byte, useReplacement, unmapped), result);
            break;
        case Jis0212:
            detail::appendCodePoint(
                JapaneseConversions::jis0212ToUnicodeFix(m_firstByte * 256 + byte - 0x8080,
                                                         useReplacement, unmapped),
                result);
            break;
        default: // inside a character
            continue;
        }
        pending = i + 1;
    }
    return true;
}

AbstractEncoding::EncodingID EucJpDetectorSM::getEncodingID() {
    return AbstractEncoding::EucJp;
}

} // namespace charsetkit
