// The JIS lookups with the extensions switch, the never-zero variants, the
// Shift_JIS arithmetic, the per-character checks and the UTF-8 lookup.
#include <charsetkit/japanese/JapaneseConversions.h>

#include "japanese/JisValidity.h"
#include "support/Bytes.h"
#include "support/SwitchesTest.h"
#include "support/Utf8Writer.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

namespace charsetkit {
namespace {

using Jc = JapaneseConversions;

std::string hex(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(value));
    return text;
}

std::string hex(const unsigned char* bytes, int length) {
    return test::hex(
        std::string(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(length)));
}

// The UTF-8 form of a code point into `out`, which has room for it; its length.
int encodeUtf8(int codePoint, unsigned char* out) {
    std::string text;
    test::appendUtf8(text, static_cast<unsigned long>(codePoint));
    for (std::size_t i = 0; i < text.size(); ++i) {
        out[i] = static_cast<unsigned char>(text[i]);
    }
    return static_cast<int>(text.size());
}

class JapaneseConversionsTest : public test::SwitchesTest {};

// --- Lookups -----------------------------------------------------------------

TEST_F(JapaneseConversionsTest, Jis0208LookupsFallBackOnExtensionsOnlyWhenSwitchedOn) {
    setSjisExtensions(true);
    EXPECT_EQ(Jc::jis0208ToUnicode(0x2140), 0xFF3C);
    EXPECT_EQ(Jc::unicodeToJis0208(0xFF3C), 0x2140);
    EXPECT_EQ(Jc::unicodeToJis0208(0x5C), 0);
    EXPECT_EQ(Jc::jis0208ToUnicode(0x2141), 0x301C);
    EXPECT_EQ(Jc::unicodeToJis0208(0xFF5E), 0);
    EXPECT_EQ(Jc::unicodeToJis0212(0xFF5E), 0x2237);
    EXPECT_EQ(Jc::jis0208ToUnicode(0x2D21), 0x2460);
    EXPECT_EQ(Jc::jis0208ToUnicode(0x932B), 0x2160);
    EXPECT_EQ(Jc::unicodeToJis0208(0x2160), 0x2D35);
    EXPECT_EQ(Jc::unicodeToJis0208(0x2252), 0x2262);
    EXPECT_EQ(Jc::unicodeToJis0208(0xFFE2), 0x7C7B);

    // The switch is read at every call.
    setSjisExtensions(false);
    EXPECT_EQ(Jc::jis0208ToUnicode(0x2D21), 0);
    EXPECT_EQ(Jc::jis0208ToUnicode(0x932B), 0);
    EXPECT_EQ(Jc::unicodeToJis0208(0x2160), 0);
    EXPECT_EQ(Jc::unicodeToJis0208(0x2252), 0x2262);
    EXPECT_EQ(Jc::unicodeToJis0208(0xFFE2), 0);
    EXPECT_EQ(Jc::jis0208ToUnicode(0x2140), 0xFF3C);
    setSjisExtensions(true);
    EXPECT_EQ(Jc::jis0208ToUnicode(0x2D21), 0x2460);
}

TEST_F(JapaneseConversionsTest, LookupsOutsideTheTablesGiveZero) {
    setSjisExtensions(true);
    EXPECT_EQ(Jc::jis0212ToUnicode(0x2221), 0);
    EXPECT_EQ(Jc::jis0212ToUnicode(0x6D63), 0x9FA5);
    EXPECT_EQ(Jc::jis0201ToUnicode(0xA1), 0xFF61);
    EXPECT_EQ(Jc::jis0201ToUnicode(0xE0), 0);
    EXPECT_EQ(Jc::jis0208ToUnicode(0x7427), 0);
    for (int code : {-1, -0x2121, INT_MIN, INT_MAX, 0, 0x10000, 0x1FF61}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(Jc::jis0201ToUnicode(code), 0);
        EXPECT_EQ(Jc::unicodeToJis0201(code), 0);
        EXPECT_EQ(Jc::jis0208ToUnicode(code), 0);
        EXPECT_EQ(Jc::unicodeToJis0208(code), 0);
        EXPECT_EQ(Jc::jis0212ToUnicode(code), 0);
        EXPECT_EQ(Jc::unicodeToJis0212(code), 0);
    }
}

TEST_F(JapaneseConversionsTest, EveryJisCodeRoundTripsThroughUnicode) {
    for (bool extensions : {true, false}) {
        setSjisExtensions(extensions);
        int count0208 = 0;
        int count0212 = 0;
        for (int row = 0x21; row <= 0x7E; ++row) {
            for (int cell = 0x21; cell <= 0x7E; ++cell) {
                const int code = row * 256 + cell;
                if (const int unicode = Jc::jis0208ToUnicode(code)) {
                    // Extension codes come back as themselves unless the code
                    // point has a lower code (the NEC copies of row 2 symbols).
                    const int back = Jc::unicodeToJis0208(unicode);
                    EXPECT_TRUE(back == code || (row == 0x2D || row >= 0x79))
                        << hex(code) << " -> U+" << hex(unicode) << " -> " << hex(back);
                    EXPECT_EQ(Jc::jis0208ToUnicode(back), unicode) << hex(code);
                    count0208 += (row == 0x2D || row >= 0x79) ? 0 : 1;
                }
                if (const int unicode = Jc::jis0212ToUnicode(code)) {
                    EXPECT_EQ(Jc::unicodeToJis0212(unicode), code) << hex(code);
                    ++count0212;
                }
            }
        }
        EXPECT_EQ(count0208, 6879);
        EXPECT_EQ(count0212, 6067);
    }
}

TEST_F(JapaneseConversionsTest, FixVariantsTagOrReplaceAndNeverClearUnmapped) {
    setSjisExtensions(false);
    bool unmapped = false;
    EXPECT_EQ(Jc::jis0208ToUnicodeFix(0x2D21, false, unmapped), 0xFB2D21);
    EXPECT_TRUE(unmapped);

    unmapped = false;
    EXPECT_EQ(Jc::jis0208ToUnicodeFix(0x2D21, true, unmapped), 0x30FB);
    EXPECT_TRUE(unmapped);

    unmapped = false;
    EXPECT_EQ(Jc::jis0201ToUnicodeFix(0x41, false, unmapped), 0xFA0041);
    EXPECT_TRUE(unmapped);

    unmapped = false;
    EXPECT_EQ(Jc::jis0212ToUnicodeFix(0x2221, false, unmapped), 0xFC2221);
    EXPECT_TRUE(unmapped);

    // A mapped code leaves the flag as it was, true or false.
    EXPECT_EQ(Jc::jis0208ToUnicodeFix(0x2121, false, unmapped), 0x3000);
    EXPECT_EQ(Jc::jis0201ToUnicodeFix(0xA1, true, unmapped), 0xFF61);
    EXPECT_EQ(Jc::jis0212ToUnicodeFix(0x222F, false, unmapped), 0x02D8);
    EXPECT_TRUE(unmapped);
    unmapped = false;
    EXPECT_EQ(Jc::jis0208ToUnicodeFix(0x2121, false, unmapped), 0x3000);
    EXPECT_FALSE(unmapped);

    setSjisExtensions(true);
    EXPECT_EQ(Jc::jis0208ToUnicodeFix(0x2D21, false, unmapped), 0x2460);
    EXPECT_FALSE(unmapped);
}

TEST_F(JapaneseConversionsTest, FixVariantsKeepTheTagForOutOfRangeCodes) {
    // Only the low 16 bits of the code travel with the tag, so a stray
    // argument still gives a tagged value in the set's range, never a negative.
    bool unmapped = false;
    EXPECT_EQ(Jc::jis0201ToUnicodeFix(-1, false, unmapped), 0xFAFFFF);
    EXPECT_EQ(Jc::jis0208ToUnicodeFix(INT_MIN, false, unmapped), 0xFB0000);
    EXPECT_EQ(Jc::jis0212ToUnicodeFix(0x12345, false, unmapped), 0xFC2345);
    EXPECT_TRUE(unmapped);
}

// --- Shift_JIS arithmetic ------------------------------------------------------

TEST(JapaneseArithmeticTest, SjisToJisKnownPairs) {
    EXPECT_EQ(Jc::sjisToJis(0x81, 0x40), 0x2121);
    EXPECT_EQ(Jc::sjisToJis(0x88, 0x9F), 0x3021);
    EXPECT_EQ(Jc::sjisToJis(0x9F, 0xFC), 0x5E7E);
    EXPECT_EQ(Jc::sjisToJis(0xE0, 0x40), 0x5F21);
    EXPECT_EQ(Jc::sjisToJis(0xEA, 0xA4), 0x7426);
    EXPECT_EQ(Jc::sjisToJis(0x87, 0x40), 0x2D21);
    EXPECT_EQ(Jc::sjisToJis(0xFC, 0x4B), 0x972C);
    EXPECT_EQ(Jc::sjisToJis(0xF0, 0x40), 0x7F21);
    EXPECT_EQ(Jc::sjisToJis(0xF9, 0xFC), 0x927E);
}

TEST(JapaneseArithmeticTest, SjisToJisTakesAnyIntWithoutOverflow) {
    // Not meaningful codes, but no undefined behaviour (checked under UBSan)
    // and the plain signed result where it fits.
    EXPECT_EQ(Jc::sjisToJis(0x40, 0x40), ((0x40 - 0x70) * 2 - 1) * 256 + 0x21);
    EXPECT_EQ(Jc::sjisToJis(-1, -1), ((-1 - 0x70) * 2 - 1) * 256 + (-1 - 0x1F));
    (void)Jc::sjisToJis(INT_MAX, INT_MAX);
    (void)Jc::sjisToJis(INT_MIN, INT_MIN);
    (void)Jc::sjisToJis(INT_MAX, INT_MIN);
}

TEST(JapaneseArithmeticTest, JisToSjisKnownCodes) {
    const struct {
        unsigned char row, cell, lead, trail;
    } cases[] = {
        {0x21, 0x21, 0x81, 0x40}, {0x21, 0x60, 0x81, 0x80}, {0x22, 0x21, 0x81, 0x9F},
        {0x5F, 0x21, 0xE0, 0x40}, {0x7C, 0x7E, 0xEE, 0xFC}, {0x93, 0x2B, 0xFA, 0x4A},
    };
    for (const auto& c : cases) {
        unsigned char lead = 0;
        unsigned char trail = 0;
        Jc::jisToSjis(c.row, c.cell, lead, trail);
        EXPECT_EQ(lead, c.lead) << hex(c.row * 256 + c.cell);
        EXPECT_EQ(trail, c.trail) << hex(c.row * 256 + c.cell);
    }
    // Arguments are not validated; the results wrap modulo 256.
    unsigned char lead = 0;
    unsigned char trail = 0;
    Jc::jisToSjis(0xFF, 0xFF, lead, trail);
    EXPECT_EQ(lead, static_cast<unsigned char>(0x80 + 0xB0));
    EXPECT_EQ(trail, static_cast<unsigned char>(0xFF + 0x20));
}

TEST(JapaneseArithmeticTest, JisToSjisInvertsSjisToJisOnEveryValidPair) {
    int pairs = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0) {
            continue;
        }
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) {
                continue;
            }
            const int code = Jc::sjisToJis(lead, trail);
            const int row = code >> 8;
            const int cell = code & 0xFF;
            ASSERT_GE(row, 0x21);
            ASSERT_LE(row, 0x98);
            ASSERT_GE(cell, 0x21);
            ASSERT_LE(cell, 0x7E);
            unsigned char s1 = 0;
            unsigned char s2 = 0;
            Jc::jisToSjis(static_cast<unsigned char>(row), static_cast<unsigned char>(cell), s1,
                          s2);
            ASSERT_EQ(s1, lead) << "pair " << hex(lead * 256 + trail);
            ASSERT_EQ(s2, trail) << "pair " << hex(lead * 256 + trail);
            ++pairs;
        }
    }
    EXPECT_EQ(pairs, 60 * 188);
}

// --- Per-character checks ------------------------------------------------------

// The bitmaps of the whole-buffer drivers give every pair, under either
// extensions switch and for either JIS set, the answer of the table lookups.
TEST_F(JapaneseConversionsTest, ValidityBitmapsAgreeWithTheLookupsOnEveryPair) {
    for (bool extensions : {true, false}) {
        setSjisExtensions(extensions);
        int mismatches = 0;
        for (int first = 0; first <= 0xFF; ++first) {
            for (int second = 0; second <= 0xFF; ++second) {
                const auto a = static_cast<unsigned char>(first);
                const auto b = static_cast<unsigned char>(second);
                const bool same =
                    detail::sjisPairMapped(a, b) == Jc::verifySjis(a, b) &&
                    detail::jisPairMapped(a, b, false) == Jc::verifyJis(a, b, false) &&
                    detail::jisPairMapped(a, b, true) == Jc::verifyJis(a, b, true) &&
                    detail::eucPairMapped(a, b, false) == Jc::verifyEuc(a, b, false) &&
                    detail::eucPairMapped(a, b, true) == Jc::verifyEuc(a, b, true);
                if (!same && ++mismatches <= 5) {
                    ADD_FAILURE() << "pair " << hex(first * 256 + second)
                                  << " extensions=" << extensions;
                }
            }
        }
        EXPECT_EQ(mismatches, 0);
    }
}

TEST_F(JapaneseConversionsTest, VerifySjisFollowsTheExtensionsSwitch) {
    setSjisExtensions(true);
    EXPECT_TRUE(Jc::verifySjis(0x87, 0x40));
    EXPECT_TRUE(Jc::verifySjis(0xFA, 0x4A));
    EXPECT_TRUE(Jc::verifySjis(0x81, 0x40));
    EXPECT_FALSE(Jc::verifySjis(0xF0, 0x40));
    EXPECT_FALSE(Jc::verifySjis(0xEA, 0xA5));
    // Pairs the arithmetic alone would map onto real characters: trail 0x7F
    // (as 0x80) and a single-byte katakana lead (0xC1 as 0x81).
    EXPECT_TRUE(Jc::verifySjis(0x81, 0x80));
    EXPECT_FALSE(Jc::verifySjis(0x81, 0x7F));
    EXPECT_FALSE(Jc::verifySjis(0xC1, 0x40));
    setSjisExtensions(false);
    EXPECT_FALSE(Jc::verifySjis(0x87, 0x40));
    EXPECT_FALSE(Jc::verifySjis(0xFA, 0x4A));
    EXPECT_TRUE(Jc::verifySjis(0x81, 0x40));

    // Exactly the 6879 (+845) mapped characters verify, and no pair outside
    // the Shift_JIS lead and trail ranges does.
    for (bool extensions : {true, false}) {
        setSjisExtensions(extensions);
        int inRange = 0;
        for (int lead = 0; lead <= 0xFF; ++lead) {
            for (int trail = 0; trail <= 0xFF; ++trail) {
                if (!Jc::verifySjis(static_cast<unsigned char>(lead),
                                    static_cast<unsigned char>(trail))) {
                    continue;
                }
                const bool validLead =
                    (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
                const bool validTrail = trail >= 0x40 && trail <= 0xFC && trail != 0x7F;
                EXPECT_TRUE(validLead && validTrail) << hex(lead * 256 + trail);
                ++inRange;
            }
        }
        EXPECT_EQ(inRange, extensions ? 6879 + 845 : 6879);
    }
}

TEST_F(JapaneseConversionsTest, VerifyEucAndJisAgreeWithTheTables) {
    setSjisExtensions(true);
    EXPECT_TRUE(Jc::verifyEuc(0xA1, 0xA1, false));
    EXPECT_TRUE(Jc::verifyEuc(0xA2, 0xAF, true));
    EXPECT_FALSE(Jc::verifyEuc(0xA2, 0xAF, false));
    EXPECT_FALSE(Jc::verifyJis(0x74, 0x27, false));
    EXPECT_TRUE(Jc::verifyJis(0x74, 0x26, false));
    EXPECT_TRUE(Jc::verifyJis(0x2D, 0x21, false));

    for (bool extensions : {true, false}) {
        setSjisExtensions(extensions);
        for (int b1 = 0; b1 <= 0xFF; ++b1) {
            for (int b2 = 0; b2 <= 0xFF; ++b2) {
                const auto first = static_cast<unsigned char>(b1);
                const auto second = static_cast<unsigned char>(b2);
                const int code = b1 * 256 + b2;
                ASSERT_EQ(Jc::verifyJis(first, second, false), Jc::jis0208ToUnicode(code) != 0)
                    << hex(code);
                ASSERT_EQ(Jc::verifyJis(first, second, true), Jc::jis0212ToUnicode(code) != 0)
                    << hex(code);
                // An EUC-JP pair is valid exactly when its 7-bit form is.
                const bool high = b1 >= 0xA1 && b2 >= 0xA1;
                const auto low1 = static_cast<unsigned char>(b1 & 0x7F);
                const auto low2 = static_cast<unsigned char>(b2 & 0x7F);
                ASSERT_EQ(Jc::verifyEuc(first, second, false),
                          high && Jc::verifyJis(low1, low2, false))
                    << hex(code);
                ASSERT_EQ(Jc::verifyEuc(first, second, true),
                          high && Jc::verifyJis(low1, low2, true))
                    << hex(code);
            }
        }
    }
}

// --- UTF-8 to JIS ------------------------------------------------------------

TEST_F(JapaneseConversionsTest, Utf8ToJisKnownCharacters) {
    setSjisExtensions(true);
    const struct {
        unsigned char bytes[3];
        int length;
        int code;
        Jc::CharsetVersion set;
    } cases[] = {
        {{0xE3, 0x80, 0x80}, 3, 0x2121, Jc::CharsetJis0208},
        {{0xEF, 0xBD, 0xA1}, 3, 0xA1, Jc::CharsetJis0201},
        {{0xEF, 0xBD, 0x9E}, 3, 0x2237, Jc::CharsetJis0212},
        {{0xE2, 0x84, 0x96}, 3, 0x2D62, Jc::CharsetJis0208},
        {{0xC2, 0xA2}, 2, 0x2171, Jc::CharsetJis0208},
    };
    for (const auto& c : cases) {
        Jc::CharsetVersion set = Jc::CharsetAscii;
        EXPECT_EQ(Jc::utf8ToJis(c.bytes, c.length, set), c.code) << hex(c.bytes, c.length);
        EXPECT_EQ(set, c.set) << hex(c.bytes, c.length);
        EXPECT_TRUE(Jc::verifyUtf8(c.bytes, c.length)) << hex(c.bytes, c.length);
    }

    // U+00A5 and ASCII have no JIS code here; the set is left as it was.
    const unsigned char yen[] = {0xC2, 0xA5};
    const unsigned char letter[] = {0x41};
    Jc::CharsetVersion set = Jc::CharsetJis0212;
    EXPECT_EQ(Jc::utf8ToJis(yen, 2, set), 0);
    EXPECT_EQ(Jc::utf8ToJis(letter, 1, set), 0);
    EXPECT_EQ(set, Jc::CharsetJis0212);
    EXPECT_FALSE(Jc::verifyUtf8(yen, 2));

    // U+2116 has both an extension and a JIS X 0212 code.
    const unsigned char numero[] = {0xE2, 0x84, 0x96};
    setSjisExtensions(false);
    EXPECT_EQ(Jc::utf8ToJis(numero, 3, set), 0x2271);
    EXPECT_EQ(set, Jc::CharsetJis0212);
}

TEST_F(JapaneseConversionsTest, Utf8ToJisBeyondTheBmpAndBadLengths) {
    Jc::CharsetVersion set = Jc::CharsetJis0201;
    // U+1F600, and the largest values of the five- and six-byte forms
    // (including a tagged unmapped code) have no JIS code.
    const unsigned char four[] = {0xF0, 0x9F, 0x98, 0x80};
    const unsigned char tagged[] = {0xF8, 0xBE, 0xB2, 0xB4, 0xA1}; // 0xFB2D21
    const unsigned char six[] = {0xFD, 0xBF, 0xBF, 0xBF, 0xBF, 0xBF};
    EXPECT_EQ(Jc::utf8ToJis(four, 4, set), 0);
    EXPECT_EQ(Jc::utf8ToJis(tagged, 5, set), 0);
    EXPECT_EQ(Jc::utf8ToJis(six, 6, set), 0);
    // The bytes are not checked: a six-byte overlong form of U+3000 is found.
    const unsigned char overlong[] = {0xFC, 0x80, 0x80, 0x83, 0x80, 0x80};
    EXPECT_EQ(Jc::utf8ToJis(overlong, 6, set), 0x2121);
    EXPECT_EQ(set, Jc::CharsetJis0208);

    // A length outside 1..6 reads nothing (a null pointer proves it).
    set = Jc::CharsetJis0201;
    for (int length : {0, -1, 7, INT_MIN, INT_MAX}) {
        EXPECT_EQ(Jc::utf8ToJis(nullptr, length, set), 0) << length;
        EXPECT_FALSE(Jc::verifyUtf8(nullptr, length)) << length;
    }
    EXPECT_EQ(set, Jc::CharsetJis0201);
}

TEST_F(JapaneseConversionsTest, Utf8ToJisAgreesWithTheTablesForEveryCodePoint) {
    for (bool extensions : {true, false}) {
        setSjisExtensions(extensions);
        int found = 0;
        for (int unicode = 1; unicode <= 0xFFFF; ++unicode) {
            if (unicode >= 0xD800 && unicode <= 0xDFFF) {
                continue;
            }
            unsigned char bytes[4];
            const int length = encodeUtf8(unicode, bytes);
            int expected = Jc::unicodeToJis0208(unicode);
            Jc::CharsetVersion expectedSet = Jc::CharsetJis0208;
            if (expected == 0) {
                expected = Jc::unicodeToJis0212(unicode);
                expectedSet = Jc::CharsetJis0212;
            }
            if (expected == 0) {
                expected = Jc::unicodeToJis0201(unicode);
                expectedSet = Jc::CharsetJis0201;
            }
            Jc::CharsetVersion set = Jc::CharsetAscii;
            ASSERT_EQ(Jc::utf8ToJis(bytes, length, set), expected) << hex(bytes, length);
            ASSERT_EQ(set, expected != 0 ? expectedSet : Jc::CharsetAscii) << hex(bytes, length);
            ASSERT_EQ(Jc::verifyUtf8(bytes, length), expected != 0) << hex(bytes, length);
            found += expected != 0 ? 1 : 0;
        }
        // 6879 + 6067 + 63 distinct code points; with the extensions, the 457
        // extension code points less the 9 that JIS X 0208 already has (the
        // 280 shared with JIS X 0212 move from one set to the other).
        EXPECT_EQ(found, extensions ? 6879 + 6067 + 63 + 457 - 9 - 280 : 6879 + 6067 + 63);
    }
}

} // namespace
} // namespace charsetkit
