#include <charsetkit/locales/JapaneseLocale.h>

#include "locales/Settings.h"

namespace charsetkit {

void JapaneseLocale::setSupportSingleByteKana(bool support) {
    settings::g_supportSingleByteKana.store(support, std::memory_order_relaxed);
}

bool JapaneseLocale::getSupportSingleByteKana() {
    return settings::supportSingleByteKana();
}

void JapaneseLocale::setSupportSupplementaryKanji(bool support) {
    settings::g_supportSupplementaryKanji.store(support, std::memory_order_relaxed);
}

bool JapaneseLocale::getSupportSupplementaryKanji() {
    return settings::supportSupplementaryKanji();
}

void JapaneseLocale::setSupportSjisExtensions(bool support) {
    settings::g_supportSjisExtensions.store(support, std::memory_order_relaxed);
}

bool JapaneseLocale::getSupportSjisExtensions() {
    return settings::supportSjisExtensions();
}

void JapaneseLocale::setSupportJisExtendedRange(bool support) {
    settings::g_supportJisExtendedRange.store(support, std::memory_order_relaxed);
}

bool JapaneseLocale::getSupportJisExtendedRange() {
    return settings::supportJisExtendedRange();
}

} // namespace charsetkit
