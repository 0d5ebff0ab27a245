// A fixture that puts the process-wide settings back as it found them, so
// that a test changing them cannot leak into the next one.
#ifndef CHARSETKIT_TESTS_LOCALES_SETTINGSGUARD_H
#define CHARSETKIT_TESTS_LOCALES_SETTINGSGUARD_H

#include <charsetkit/locales/AbstractLocale.h>
#include <charsetkit/locales/JapaneseLocale.h>

#include <gtest/gtest.h>

namespace charsetkit {
namespace test {

class SettingsGuard : public ::testing::Test {
protected:
    void SetUp() override {
        m_supported = AbstractLocale::getSupportedEncodings();
        m_kana = JapaneseLocale::getSupportSingleByteKana();
        m_supplementary = JapaneseLocale::getSupportSupplementaryKanji();
        m_sjisExtensions = JapaneseLocale::getSupportSjisExtensions();
        m_jisExtendedRange = JapaneseLocale::getSupportJisExtendedRange();
    }

    void TearDown() override {
        AbstractLocale::setSupportedEncodings(m_supported);
        JapaneseLocale::setSupportSingleByteKana(m_kana);
        JapaneseLocale::setSupportSupplementaryKanji(m_supplementary);
        JapaneseLocale::setSupportSjisExtensions(m_sjisExtensions);
        JapaneseLocale::setSupportJisExtendedRange(m_jisExtendedRange);
    }

private:
    AbstractLocale::SupportedEncodings m_supported = AbstractLocale::LocalAndUtf8;
    bool m_kana = true;
    bool m_supplementary = true;
    bool m_sjisExtensions = true;
    bool m_jisExtendedRange = false;
};

} // namespace test
} // namespace charsetkit

#endif
