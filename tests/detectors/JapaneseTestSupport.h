// Helpers shared by the tests of the Japanese machines, traversers and
// encodings: a fixture that restores the Japanese switches, byte-string
// literals and UTF-8 text written independently of the library.
#ifndef CHARSETKIT_TESTS_DETECTORS_JAPANESETESTSUPPORT_H
#define CHARSETKIT_TESTS_DETECTORS_JAPANESETESTSUPPORT_H

#include <charsetkit/locales/JapaneseLocale.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <initializer_list>
#include <string>

namespace charsetkit {
namespace testing {

/// Bytes given as numbers, e.g. bytes({0x82, 0xA0}).
inline std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int value : values) {
        out.push_back(static_cast<char>(static_cast<unsigned char>(value)));
    }
    return out;
}

/// Appends the UTF-8 form of a code point (up to the six-byte form), written
/// here independently of the library's writer.
inline void appendUtf8(std::string& out, unsigned long cp) {
    auto put = [&out](unsigned long value) { out.push_back(static_cast<char>(value & 0xFF)); };
    if (cp < 0x80) {
        put(cp);
    } else if (cp < 0x800) {
        put(0xC0 | (cp >> 6));
        put(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        put(0xE0 | (cp >> 12));
        put(0x80 | ((cp >> 6) & 0x3F));
        put(0x80 | (cp & 0x3F));
    } else if (cp < 0x200000) {
        put(0xF0 | (cp >> 18));
        put(0x80 | ((cp >> 12) & 0x3F));
        put(0x80 | ((cp >> 6) & 0x3F));
        put(0x80 | (cp & 0x3F));
    } else if (cp < 0x4000000) {
        put(0xF8 | (cp >> 24));
        put(0x80 | ((cp >> 18) & 0x3F));
        put(0x80 | ((cp >> 12) & 0x3F));
        put(0x80 | ((cp >> 6) & 0x3F));
        put(0x80 | (cp & 0x3F));
    } else {
        put(0xFC | ((cp >> 30) & 0x03));
        put(0x80 | ((cp >> 24) & 0x3F));
        put(0x80 | ((cp >> 18) & 0x3F));
        put(0x80 | ((cp >> 12) & 0x3F));
        put(0x80 | ((cp >> 6) & 0x3F));
        put(0x80 | (cp & 0x3F));
    }
}

/// The UTF-8 text of a list of code points.
inline std::string utf8(std::initializer_list<unsigned long> codePoints) {
    std::string out;
    for (unsigned long cp : codePoints) {
        appendUtf8(out, cp);
    }
    return out;
}

/// Saves the four Japanese switches before each test, starts the test with
/// their initial values, and restores them afterwards, so that a test may
/// change them freely.
class JapaneseSwitchesTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_kana = JapaneseLocale::getSupportSingleByteKana();
        m_supplementary = JapaneseLocale::getSupportSupplementaryKanji();
        m_extensions = JapaneseLocale::getSupportSjisExtensions();
        m_extendedRange = JapaneseLocale::getSupportJisExtendedRange();
        setDefaults();
    }
    void TearDown() override {
        setSingleByteKana(m_kana);
        setSupplementaryKanji(m_supplementary);
        setSjisExtensions(m_extensions);
        setJisExtendedRange(m_extendedRange);
    }

    static void setDefaults() {
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
    bool m_kana = true;
    bool m_supplementary = true;
    bool m_extensions = true;
    bool m_extendedRange = false;
};

} // namespace testing
} // namespace charsetkit

#endif
