#include <charsetkit/locales/AbstractLocale.h>
#include <charsetkit/locales/JapaneseLocale.h>

#include <gtest/gtest.h>

namespace charsetkit {
namespace {

// The defaults must hold before any setter runs, so this test reads them
// first and restores whatever it changes.
TEST(ProcessSettings, InitialValuesAndSetters) {
    EXPECT_EQ(AbstractLocale::getSupportedEncodings(), AbstractLocale::LocalAndUtf8);
    EXPECT_TRUE(JapaneseLocale::getSupportSingleByteKana());
    EXPECT_TRUE(JapaneseLocale::getSupportSupplementaryKanji());
    EXPECT_TRUE(JapaneseLocale::getSupportSjisExtensions());
    EXPECT_FALSE(JapaneseLocale::getSupportJisExtendedRange());

    AbstractLocale::setSupportedEncodings(AbstractLocale::Utf8Only);
    EXPECT_EQ(AbstractLocale::getSupportedEncodings(), AbstractLocale::Utf8Only);
    // Values outside the enumerators are stored as they are.
    AbstractLocale::setSupportedEncodings(static_cast<AbstractLocale::SupportedEncodings>(-1));
    EXPECT_EQ(static_cast<int>(AbstractLocale::getSupportedEncodings()), -1);
    AbstractLocale::setSupportedEncodings(AbstractLocale::LocalAndUtf8);

    JapaneseLocale::setSupportSingleByteKana(false);
    JapaneseLocale::setSupportSupplementaryKanji(false);
    JapaneseLocale::setSupportSjisExtensions(false);
    JapaneseLocale::setSupportJisExtendedRange(true);
    EXPECT_FALSE(JapaneseLocale::getSupportSingleByteKana());
    EXPECT_FALSE(JapaneseLocale::getSupportSupplementaryKanji());
    EXPECT_FALSE(JapaneseLocale::getSupportSjisExtensions());
    EXPECT_TRUE(JapaneseLocale::getSupportJisExtendedRange());
    JapaneseLocale::setSupportSingleByteKana(true);
    JapaneseLocale::setSupportSupplementaryKanji(true);
    JapaneseLocale::setSupportSjisExtensions(true);
    JapaneseLocale::setSupportJisExtendedRange(false);
}

} // namespace
} // namespace charsetkit
