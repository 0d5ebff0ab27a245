// A fixture for code that reads the process-wide switches (the supported
// encodings and the four Japanese switches): each test starts with their
// initial values and may change them freely; they are put back as they were
// found afterwards, so that no test leaks its settings into the next one.
#ifndef CHARSETKIT_TESTS_SUPPORT_SWITCHESTEST_H
#define CHARSETKIT_TESTS_SUPPORT_SWITCHESTEST_H

#include <charsetkit/locales/AbstractLocale.h>
#include <charsetkit/locales/JapaneseLocale.h>

#include <gtest/gtest.h>

namespace charsetkit {
namespace test {

class SwitchesTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_supported = AbstractLocale::getSupportedEncodings();
        m_kana = JapaneseLocale::getSupportSingleByteKana();
        m_supplementary = JapaneseLocale::getSupportSupplementaryKanji();
        m_extensions = JapaneseLocale::getSupportSjisExtensions();
        m_extendedRange = JapaneseLocale::getSupportJisExtendedRange();
        setDefaults();
    }
    void TearDown() override {
        AbstractLocale::setSupportedEncodings(m_supported);
        setSingleByteKana(m_kana);
        setSupplementaryKanji(m_supplementary);
        setSjisExtensions(m_extensions);
        setJisExtendedRange(m_extendedRange);
    }

    /// The values the process starts with.
    static void setDefaults() {
        AbstractLocale::setSupportedEncodings(AbstractLocale::LocalAndUtf8);
        setSingleByteKana(true);
        setSupplementaryKanji(true);
        setSjisExtensions(true);
        setJisExtendedRange(false);
    }
    static void setSingleByteKana(bool on) { JapaneseLocale::setSupportSingleByteKana(on); }
    static void setSupplementaryKanji(bool on) { JapaneseLocale::setSupportSupplementaryKanji(on); }
    static void setSjisExtensions(bool on) { JapaneseLocale::setSupportSjisExtensions(on); }
    static void setJisExtendedRange(bool on) { JapaneseLocale::setSupportJisExtendedRange(on); }

private:
    AbstractLocale::SupportedEncodings m_supported = AbstractLocale::LocalAndUtf8;
    bool m_kana = true;
    bool m_supplementary = true;
    bool m_extensions = true;
    bool m_extendedRange = false;
};

} // namespace test
} // namespace charsetkit

#endif
