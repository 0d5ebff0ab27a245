#include <charsetkit/detectors/JapaneseUtf8DetectorSM.h>

#include "support/Bytes.h"
#include "support/SwitchesTest.h"
#include "support/Utf8Writer.h"

#include <gtest/gtest.h>

namespace charsetkit {
namespace {

using test::hex;

class JapaneseUtf8DetectorTest : public test::SwitchesTest {
protected:
    static JapaneseUtf8DetectorSM run(const std::string& input, bool verifyCharacters) {
        JapaneseUtf8DetectorSM machine;
        for (char c : input) {
            machine.processByte(static_cast<unsigned char>(c), verifyCharacters);
        }
        return machine;
    }
};

TEST_F(JapaneseUtf8DetectorTest, CharactersWithoutJisCodeFailOnlyWhenVerified) {
    const std::string yen = "\xC2\xA5"; // U+00A5 has no JIS code
    JapaneseUtf8DetectorSM verified = run(yen, true);
    EXPECT_TRUE(verified.m_error);
    EXPECT_TRUE(verified.m_confirmed);
    EXPECT_FALSE(verified.m_inChar);
    EXPECT_FALSE(run(yen, false).m_error);

    const std::string hiragana = "\xE3\x81\x82"; // U+3042
    EXPECT_FALSE(run(hiragana, true).m_error);
    EXPECT_TRUE(run(hiragana, true).m_confirmed);
    EXPECT_FALSE(run(hiragana, false).m_error);
}

TEST_F(JapaneseUtf8DetectorTest, AcceptsEachJisSet) {
    // U+FF71 (JIS X 0201 katakana), U+FF5E (JIS X 0212 only), U+2460 (extension).
    for (const std::string& text :
         {std::string("\xEF\xBD\xB1"), std::string("\xEF\xBD\x9E"), std::string("\xE2\x91\xA0")}) {
        EXPECT_FALSE(run(text, true).m_error) << hex(text);
    }
    setSjisExtensions(false);
    // U+2460 has only an extension code.
    EXPECT_TRUE(run("\xE2\x91\xA0", true).m_error);
}

TEST_F(JapaneseUtf8DetectorTest, StructureIsStillChecked) {
    EXPECT_TRUE(run("\xC3\x41", false).m_error);
    EXPECT_TRUE(run("\x1B", false).m_error);
    JapaneseUtf8DetectorSM machine;
    EXPECT_EQ(machine.getEncodingID(), AbstractEncoding::Utf8);
    const std::string text = "abc\xE3\x81\x82\xC2\xA5";
    EXPECT_FALSE(
        machine.verify(text.data(), static_cast<unsigned int>(text.size()), true, false, 0));
    JapaneseUtf8DetectorSM lenient;
    EXPECT_TRUE(
        lenient.verify(text.data(), static_cast<unsigned int>(text.size()), false, false, 0));
}

} // namespace
} // namespace charsetkit
