// Conversion to UTF-8 by the Japanese machines: the text of each state, the
// tagged or replaced output of unmapped codes, and the ISO-8859-1 fallback
// from the first failure on, including the bytes of the character that the
// failure interrupted.
#include <charsetkit/detectors/EucJpDetectorSM.h>
#include <charsetkit/detectors/JapaneseUtf8DetectorSM.h>
#include <charsetkit/detectors/JisDetectorSM.h>
#include <charsetkit/detectors/SjisDetectorSM.h>
#include <charsetkit/japanese/JapaneseConversions.h>

#include "support/Bytes.h"
#include "support/SwitchesTest.h"
#include "support/Utf8Writer.h"

#include <gtest/gtest.h>

namespace charsetkit {
namespace {

using test::bytes;
using test::hex;
using test::utf8;

class JapaneseConversionTest : public test::SwitchesTest {
protected:
    template <typename Machine>
    static std::string convert(const std::string& input, bool useReplacement = false,
                               bool* unmappedOut = nullptr) {
        Machine machine;
        std::string out;
        bool unmapped = false;
        EXPECT_TRUE(machine.convertToUtf8(input.data(), static_cast<unsigned int>(input.size()),
                                          out, unmapped, useReplacement));
        if (unmappedOut != nullptr) {
            *unmappedOut = unmapped;
        }
        return out;
    }
    static std::string sjis(const std::string& in, bool repl = false, bool* unm = nullptr) {
        return convert<SjisDetectorSM>(in, repl, unm);
    }
    static std::string euc(const std::string& in, bool repl = false, bool* unm = nullptr) {
        return convert<EucJpDetectorSM>(in, repl, unm);
    }
    static std::string jis(const std::string& in, bool repl = false, bool* unm = nullptr) {
        return convert<JisDetectorSM>(in, repl, unm);
    }
};

TEST_F(JapaneseConversionTest, ShiftJisCharacters) {
    EXPECT_EQ(sjis(bytes({0x41, 0x82, 0xA0, 0xB1, 0x5C, 0x7E})),
              utf8({0x41, 0x3042, 0xFF71, 0x5C, 0x7E}));
    EXPECT_EQ(sjis(bytes({0x81, 0x5F})), utf8({0xFF3C})); // JIS 0x2140
    EXPECT_EQ(sjis(bytes({0x87, 0x40})), utf8({0x2460}));
    EXPECT_EQ(sjis(bytes({0xFA, 0x4A})), utf8({0x2160})); // IBM copy of 0x8754
    EXPECT_EQ(sjis(""), "");
}

TEST_F(JapaneseConversionTest, ShiftJisFallsBackToLatin1FromTheFirstFailure) {
    // From the failing 0xFF on, every byte is read as ISO-8859-1.
    EXPECT_EQ(sjis(bytes({0x41, 0x82, 0xA0, 0xFF, 0x41})), utf8({0x41, 0x3042, 0xFF, 0x41}));
    EXPECT_EQ(sjis(bytes({0x80, 0x82, 0xA0})), utf8({0x80, 0x82, 0xA0}));
    setSingleByteKana(false);
    EXPECT_EQ(sjis(bytes({0xB1, 0x41})), utf8({0xB1, 0x41}));
}

TEST_F(JapaneseConversionTest, ShiftJisKeepsTheLeadOfABrokenPair) {
    const std::string input = bytes({0x41, 0x82, 0x20, 0x41});
    EXPECT_EQ(sjis(input), utf8({0x41, 0x82, 0x20, 0x41})) << hex(input);
    EXPECT_EQ(sjis(bytes({0x82, 0xA0, 0x82, 0xFF})), utf8({0x3042, 0x82, 0xFF}));
}

TEST_F(JapaneseConversionTest, OpenCharacterAtTheEndIsDropped) {
    EXPECT_EQ(sjis(bytes({0x41, 0x82})), "A");
    EXPECT_EQ(euc(bytes({0x41, 0x8F, 0xB0})), "A");
    EXPECT_EQ(jis("A\x1B$"), "A");
}

TEST_F(JapaneseConversionTest, UnmappedCodesAreTaggedOrReplaced) {
    bool unmapped = false;
    // Shift_JIS 0xF040 (user-defined area) is JIS row 0x7F, cell 0x21.
    EXPECT_EQ(sjis(bytes({0xF0, 0x40}), false, &unmapped), utf8({0xFB7F21}));
    EXPECT_TRUE(unmapped);
    EXPECT_EQ(sjis(bytes({0xF0, 0x40}), true, &unmapped), utf8({0x30FB}));
    EXPECT_TRUE(unmapped);
    sjis(bytes({0x82, 0xA0}), false, &unmapped);
    EXPECT_FALSE(unmapped);

    EXPECT_EQ(euc(bytes({0xF5, 0xA1}), false, &unmapped), utf8({0xFB7521}));
    EXPECT_TRUE(unmapped);
    EXPECT_EQ(euc(bytes({0x8F, 0xA2, 0xA1}), false, &unmapped), utf8({0xFC2221}));
    EXPECT_EQ(jis("\x1B$Bt'\x1B(B", false, &unmapped), utf8({0xFB7427}));
    EXPECT_TRUE(unmapped);
    EXPECT_EQ(jis("\x1B$(D\x22\x21\x1B(B", true, &unmapped), utf8({0x30FB}));

    setSjisExtensions(false);
    EXPECT_EQ(sjis(bytes({0x87, 0x40}), false, &unmapped), utf8({0xFB2D21}));
    EXPECT_TRUE(unmapped);
}

TEST_F(JapaneseConversionTest, UnmappedIsNeverCleared) {
    SjisDetectorSM machine;
    std::string out;
    bool unmapped = true;
    const std::string text = "abc";
    machine.convertToUtf8(text.data(), 3, out, unmapped, false);
    EXPECT_TRUE(unmapped);
}

TEST_F(JapaneseConversionTest, AppendsAndReserves) {
    EucJpDetectorSM machine;
    std::string out = "old:";
    bool unmapped = false;
    const std::string text = bytes({0xA4, 0xA2, 0x41});
    EXPECT_TRUE(machine.convertToUtf8(text.data(), 3, out, unmapped, false));
    EXPECT_EQ(out, "old:" + utf8({0x3042, 0x41}));
    EXPECT_GE(out.capacity(), 6u);
}

TEST_F(JapaneseConversionTest, EucJpCharacters) {
    const int jis0212 = JapaneseConversions::jis0212ToUnicode(0x3021);
    ASSERT_NE(jis0212, 0);
    EXPECT_EQ(euc(bytes({0x41, 0xA4, 0xA2, 0x8E, 0xB1, 0x8F, 0xB0, 0xA1, 0x0A})),
              utf8({0x41, 0x3042, 0xFF71, static_cast<unsigned long>(jis0212), 0x0A}));
    EXPECT_EQ(euc(bytes({0xAD, 0xA1})), utf8({0x2460}));
}

TEST_F(JapaneseConversionTest, EucJpKeepsTheBytesOfABrokenCharacter) {
    EXPECT_EQ(euc(bytes({0xA4, 0x41, 0xA4, 0xA2})), utf8({0xA4, 0x41, 0xA4, 0xA2}));
    EXPECT_EQ(euc(bytes({0x8E, 0xE0})), utf8({0x8E, 0xE0}));
    EXPECT_EQ(euc(bytes({0x8F, 0x41})), utf8({0x8F, 0x41}));
    EXPECT_EQ(euc(bytes({0x41, 0x8F, 0xB0, 0x41})), utf8({0x41, 0x8F, 0xB0, 0x41}));
    EXPECT_EQ(euc(bytes({0x80, 0x41})), utf8({0x80, 0x41}));
    setSingleByteKana(false);
    EXPECT_EQ(euc(bytes({0x8E, 0xB1})), utf8({0x8E, 0xB1}));
    setSupplementaryKanji(false);
    EXPECT_EQ(euc(bytes({0x8F, 0xB0, 0xA1})), utf8({0x8F, 0xB0, 0xA1}));
}

TEST_F(JapaneseConversionTest, Iso2022JpCharacters) {
    EXPECT_EQ(jis("a\x1B$B\x30\x21\x24\x22\x1B(Bb"), utf8({'a', 0x4E9C, 0x3042, 'b'}));
    EXPECT_EQ(jis("\x1B$@\x30\x21\x1B(B"), utf8({0x4E9C}));
    EXPECT_EQ(jis("\x1B(I\x31\x5F\x1B(B"), utf8({0xFF71, 0xFF9F}));
    // JIS-Roman bytes are taken as ASCII: the backslash stays a backslash.
    EXPECT_EQ(jis("\x1B(J\\~\x1B(B"), "\\~");
    const int jis0212 = JapaneseConversions::jis0212ToUnicode(0x222F);
    ASSERT_NE(jis0212, 0);
    EXPECT_EQ(jis("\x1B$(D\x22\x2F\x1B(B"), utf8({static_cast<unsigned long>(jis0212)}));
    // A text left in a double-byte mode still gives its characters.
    EXPECT_EQ(jis("\x1B$B\x30\x21"), utf8({0x4E9C}));
}

TEST_F(JapaneseConversionTest, Iso2022JpKeepsTheBytesOfABrokenSequence) {
    // ESC in place of a second byte: the first byte and the rest come out as ISO-8859-1.
    EXPECT_EQ(jis("\x1B$B\x30\x1B(BA"), "\x30\x1B(BA");
    // A broken escape sequence keeps its ESC.
    EXPECT_EQ(jis("a\x1Bxb"), "a\x1Bxb");
    EXPECT_EQ(jis("\x1B$(Q"), "\x1B$(Q");
    // A failure on a character of its own loses nothing of a completed designation.
    EXPECT_EQ(jis("\x1B(I\x60"), "\x60");
    EXPECT_EQ(jis(bytes({0x41, 0xE9})), utf8({0x41, 0xE9}));
    EXPECT_EQ(jis("\x1B$B\x30\x21\n\x1B(B"), utf8({0x4E9C, '\n', 0x1B, '(', 'B'}));
}

TEST_F(JapaneseConversionTest, ExtendedRangeCharactersConvertThroughTheExtensionTable) {
    setJisExtendedRange(true);
    // JIS row 0x93 is the IBM extension row: Shift_JIS 0xFA40 is U+2170.
    EXPECT_EQ(jis("\x1B$B\x93\x21\x1B(B"), sjis(bytes({0xFA, 0x40})));
}

TEST_F(JapaneseConversionTest, OtherMachinesDoNotConvert) {
    JapaneseUtf8DetectorSM machine;
    std::string out = "keep";
    bool unmapped = false;
    EXPECT_FALSE(machine.convertToUtf8("a", 1, out, unmapped, false));
    EXPECT_EQ(out, "keep");
}

} // namespace
} // namespace charsetkit
