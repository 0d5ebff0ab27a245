#include <charsetkit/detectors/EucJpDetectorSM.h>

#include "utilities/MissingInput.h"

#include <charsetkit/japanese/JapaneseConversions.h>

#include "detectors/EucJpBlocks.h"
#include "detectors/EucJpStep.h"
#include "detectors/JapaneseOutput.h"
#include "japanese/JisDirectTables.h"
#include "utilities/ByteSink.h"
#include "utilities/Settings.h"

#include <cstddef>
#include <cstdint>

namespace charsetkit {

namespace {

using namespace detail::eucjp;

} // namespace

void EucJpDetectorSM::processByte(unsigned char byte, bool verifyCharacters) {
    detail::eucjp::step(*this, byte, verifyCharacters);
}

namespace {

bool isBetweenCharacters(int state) {
    return state != Jis0208First && state != KanaPrefix && state != Jis0212Prefix &&
           state != Jis0212First;
}

// Reads the characters that need no switch from index `i` on (plain ASCII
// and JIS X 0208 pairs) straight into `out`, leaving the machine as
// processByte would, and returns the index of the first byte it leaves to
// the machine.
unsigned int convertPlainRun(EucJpDetectorSM& m, const unsigned char* bytes, unsigned int i,
                             unsigned int length, detail::ByteSink& out) {
    int last = -1; // state after the last character read
    unsigned char lastFirst = 0;
    char* p = out.window();
    while (i < length) {
        const unsigned char byte = bytes[i];
        if (byte < 0x80) {
            if (!detail::isPlainAscii(byte)) {
                break; // ESC, SO, SI
            }
            i += static_cast<unsigned int>(out.putPlainAscii(p, bytes + i, length - i));
            last = SingleByte;
            continue;
        }
        if (length - i < 2 || !isPairByte(byte) || !isPairByte(bytes[i + 1])) {
            break;
        }
        const std::uint32_t packed = detail::jis0208Utf8(byte - 0x80u, bytes[i + 1] - 0x80u);
        if (packed == 0) {
            break; // a code page 932 extension or an unmapped code
        }
        p = out.putPacked(p, packed);
        lastFirst = byte;
        last = Jis0208;
        i += 2;
    }
    out.commit(p);
    if (lastFirst != 0) {
        m.m_firstByte = lastFirst;
        m.m_confirmed = true;
    }
    if (last >= 0) {
        m.m_state = last;
        m.m_inChar = false;
    }
    return i;
}

} // namespace

// Appends the text as UTF-8 to `result`. From the first failure on the input
// is read as ISO-8859-1, the bytes of the character it interrupted included.
// Between characters and before any failure, plain ASCII and JIS X 0208
// pairs are read in whole blocks by convertBlocks, then by convertPlainRun;
// every other byte goes through the machine.
bool EucJpDetectorSM::convertToUtf8(const char* buffer, unsigned int length, std::string& result,
                                    bool& unmapped, bool useReplacement) {
    return detail::eucjp::convertToUtf8(detail::vector::bestLevel(), *this, buffer, length, result,
                                        unmapped, useReplacement);
}

namespace detail {
namespace eucjp {

bool convertToUtf8(vector::Level level, EucJpDetectorSM& m, const char* buffer, unsigned int length,
                   std::string& result, bool& unmapped, bool useReplacement) {
    if (detail::isMissingInput(buffer, length)) {
        return false;
    }
    // At most three bytes of output per input byte (ISO-8859-1 takes two,
    // a tagged unmapped pair five).
    detail::ByteSink out(result, std::size_t{length} * 3);
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer);
    // Index of the first byte of the character being read: the bytes from
    // there on have been consumed without output yet.
    unsigned int pending = 0;
    unsigned int i = 0;
    while (i < length) {
        if (!m.m_error && isBetweenCharacters(m.m_state)) {
            i = convertBlocks(level, m, bytes, i, length, out);
            i = convertPlainRun(m, bytes, i, length, out);
            pending = i;
            if (i == length) {
                break;
            }
        }
        const unsigned char byte = bytes[i];
        const bool failedBefore = m.m_error;
        step(m, byte, false);
        ++i;
        if (m.m_error) {
            // From the first failure on, the input is read as ISO-8859-1,
            // the bytes of the character it interrupted included.
            out.putLatin1Range(bytes + (failedBefore ? i - 1 : pending), bytes + i);
            continue;
        }
        switch (m.m_state) {
        case SingleByte:
            out.putLatin1(byte);
            break;
        case Jis0208:
            out.putCodePoint(static_cast<std::uint32_t>(JapaneseConversions::jis0208ToUnicodeFix(
                m.m_firstByte * 256 + byte - 0x8080, useReplacement, unmapped)));
            break;
        case Kana:
            out.putCodePoint(static_cast<std::uint32_t>(
                JapaneseConversions::jis0201ToUnicodeFix(byte, useReplacement, unmapped)));
            break;
        case Jis0212:
            out.putCodePoint(static_cast<std::uint32_t>(JapaneseConversions::jis0212ToUnicodeFix(
                m.m_firstByte * 256 + byte - 0x8080, useReplacement, unmapped)));
            break;
        default: // inside a character
            continue;
        }
        pending = i;
    }
    out.flush();
    return true;
}

} // namespace eucjp
} // namespace detail

AbstractEncoding::EncodingID EucJpDetectorSM::getEncodingID() {
    return AbstractEncoding::EucJp;
}

} // namespace charsetkit
