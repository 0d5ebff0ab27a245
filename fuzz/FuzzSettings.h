// Shared by the fuzz targets that vary the process-wide settings: one input
// byte chooses the supported encodings and the four Japanese switches, and
// the defaults come back when the input is done, so that every input starts
// from the same state.
#ifndef CHARSETKIT_FUZZ_FUZZSETTINGS_H
#define CHARSETKIT_FUZZ_FUZZSETTINGS_H

#include "FuzzCheck.h"

#include <charsetkit/locales/AbstractLocale.h>
#include <charsetkit/locales/JapaneseLocale.h>
#include <charsetkit/traversal/AbstractTraverser.h>

#include <cstdint>

namespace charsetkit {
namespace fuzzing {

/// Bits 0-1: supported encodings (3 stands for an out-of-range value);
/// bits 2-5: single-byte kana, supplementary kanji, code page 932
/// extensions, extended ISO-2022-JP range (each set bit flips the default).
class ScopedSettings {
public:
    explicit ScopedSettings(std::uint8_t choice) {
        const int supported = choice & 0x03;
        AbstractLocale::setSupportedEncodings(
            static_cast<AbstractLocale::SupportedEncodings>(supported == 3 ? -1 : supported));
        JapaneseLocale::setSupportSingleByteKana((choice & 0x04) == 0);
        JapaneseLocale::setSupportSupplementaryKanji((choice & 0x08) == 0);
        JapaneseLocale::setSupportSjisExtensions((choice & 0x10) == 0);
        JapaneseLocale::setSupportJisExtendedRange((choice & 0x20) != 0);
        // Each switch reads back as it was set.
        FUZZ_CHECK(static_cast<int>(AbstractLocale::getSupportedEncodings()) ==
                   (supported == 3 ? -1 : supported));
        FUZZ_CHECK(JapaneseLocale::getSupportSingleByteKana() == ((choice & 0x04) == 0));
        FUZZ_CHECK(JapaneseLocale::getSupportSupplementaryKanji() == ((choice & 0x08) == 0));
        FUZZ_CHECK(JapaneseLocale::getSupportSjisExtensions() == ((choice & 0x10) == 0));
        FUZZ_CHECK(JapaneseLocale::getSupportJisExtendedRange() == ((choice & 0x20) != 0));
    }
    ~ScopedSettings() {
        AbstractLocale::setSupportedEncodings(AbstractLocale::LocalAndUtf8);
        JapaneseLocale::setSupportSingleByteKana(true);
        JapaneseLocale::setSupportSupplementaryKanji(true);
        JapaneseLocale::setSupportSjisExtensions(true);
        JapaneseLocale::setSupportJisExtendedRange(false);
    }
    ScopedSettings(const ScopedSettings&) = delete;
    ScopedSettings& operator=(const ScopedSettings&) = delete;
};

/// Binds the traverser to the buffer and walks it to the end, checking that
/// every stop lies inside the buffer, stops only move forward, the walk ends
/// within length + 1 steps and a traverser at its end stays there. Returns
/// the number of stops.
inline int walkTraverser(AbstractTraverser& traverser, const char* buffer, int length) {
    traverser.setNewBuffer(buffer, length);
    FUZZ_CHECK(traverser.getBufferStart() == buffer);
    const char* end = traverser.getBufferEnd();
    FUZZ_CHECK(end == buffer + (length < 0 ? 0 : length));
    const char* previous = nullptr;
    int stops = 0;
    while (!traverser.isEnd()) {
        const char* pos = traverser.getPos();
        FUZZ_CHECK(pos >= buffer && pos < end);
        FUZZ_CHECK(previous == nullptr || pos > previous);
        previous = pos;
        FUZZ_CHECK(traverser.advance() == traverser.getPos());
        FUZZ_CHECK(++stops <= length + 1);
    }
    FUZZ_CHECK(traverser.getPos() == end);
    traverser.advance();
    FUZZ_CHECK(traverser.getPos() == end);
    return stops;
}

} // namespace fuzzing
} // namespace charsetkit

#endif
