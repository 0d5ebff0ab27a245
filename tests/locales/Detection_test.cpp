// Detection and UTF-8 verification of the three locales with the real
// machines, under each supported-encodings setting.
#include <charsetkit/locales/JapaneseLocale.h>
#include <charsetkit/locales/KoreanLocale.h>
#include <charsetkit/locales/Utf8Locale.h>

#include "support/Bytes.h"
#include "support/SwitchesTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace charsetkit {
namespace {

using Ids = std::vector<AbstractEncoding::EncodingID>;
using test::bytes;

constexpr auto kAscii = AbstractEncoding::Ascii;
constexpr auto kUtf8 = AbstractEncoding::Utf8;
constexpr auto kEucJp = AbstractEncoding::EucJp;
constexpr auto kSjis = AbstractEncoding::Sjis;
constexpr auto kJis = AbstractEncoding::Jis;
constexpr auto kEucKr = AbstractEncoding::EucKr;

struct Options {
    bool verifyCharacters = false;
    bool scanToEnd = false;
    int escapeRunLimit = 10;
    bool rejectRedundantEscapes = false;
};

Ids detect(AbstractLocale& locale, const std::string& buffer, Options options = {}) {
    // Stale content must not survive a call.
    Ids out{AbstractEncoding::EucKr, AbstractEncoding::Jis};
    locale.detectAndVerifyEncoding(buffer.data(), static_cast<unsigned int>(buffer.size()),
                                   options.verifyCharacters, options.rejectRedundantEscapes,
                                   options.escapeRunLimit, options.scanToEnd, &out);
    return out;
}

Options scanning(bool scanToEnd) {
    Options options;
    options.scanToEnd = scanToEnd;
    return options;
}

class Detection : public test::SwitchesTest {
protected:
    void setSupported(int value) {
        AbstractLocale::setSupportedEncodings(
            static_cast<AbstractLocale::SupportedEncodings>(value));
    }

    JapaneseLocale m_japanese;
    KoreanLocale m_korean;
    Utf8Locale m_utf8;
};

TEST_F(Detection, PlainAsciiIsAsciiEverywhere) {
    const std::string texts[] = {"", "<html><p class=\"x\">text\r\n</p>\x7F\x01</html>"};
    for (int setting : {0, 1, 2, 3, -1}) {
        setSupported(setting);
        for (AbstractLocale* locale :
             {static_cast<AbstractLocale*>(&m_japanese), static_cast<AbstractLocale*>(&m_korean),
              static_cast<AbstractLocale*>(&m_utf8)}) {
            for (const std::string& text : texts) {
                for (bool scanToEnd : {false, true}) {
                    SCOPED_TRACE(std::string(locale->getName()) + " setting " +
                                 std::to_string(setting) + " bytes " + test::hex(text));
                    EXPECT_EQ(detect(*locale, text, scanning(scanToEnd)), Ids{kAscii});
                }
            }
        }
    }
}

TEST_F(Detection, NullResultVectorIsIgnored) {
    const std::string text = bytes("82 A0");
    m_japanese.detectAndVerifyEncoding(text.data(), 2, false, false, 1, false, nullptr);
    m_korean.detectAndVerifyEncoding(text.data(), 2, false, false, 1, false, nullptr);
    m_utf8.detectAndVerifyEncoding(text.data(), 2, false, false, 1, false, nullptr);
}

TEST_F(Detection, JapaneseIso2022JpDecidedEarlyButRefusedOpenAtTheEnd) {
    Options options;
    options.escapeRunLimit = 1;
    const std::string open = bytes("1B 24 42 30 21");
    EXPECT_EQ(detect(m_japanese, open, options), Ids{kJis});
    options.scanToEnd = true;
    EXPECT_EQ(detect(m_japanese, open, options), Ids{});
    EXPECT_EQ(detect(m_japanese, open + bytes("1B 28 42"), options), Ids{kJis});
    // The machines start at the ESC, wherever it stands.
    EXPECT_EQ(detect(m_japanese, "Subject: " + open + bytes("1B 28 42") + " end", options),
              Ids{kJis});
}

TEST_F(Detection, JapaneseEscapeLimits) {
    // A limit of 0 fails ISO-2022-JP on the first byte it is shown; the
    // other machines carry on.
    Options noEscapes;
    noEscapes.escapeRunLimit = 0;
    EXPECT_EQ(detect(m_japanese, bytes("1B 24 42 30 21 1B 28 42"), noEscapes), Ids{});
    EXPECT_EQ(detect(m_japanese, bytes("82 A0"), noEscapes), Ids{kSjis});
    EXPECT_EQ(detect(m_japanese, bytes("E3 81 82"), noEscapes), Ids{kUtf8});

    // Two designations in a row under a limit of 1, and a redundant one when
    // such escapes are rejected.
    Options strict;
    strict.escapeRunLimit = 1;
    strict.scanToEnd = true;
    EXPECT_EQ(detect(m_japanese, bytes("1B 24 42 1B 28 42"), strict), Ids{});
    const std::string redundant = bytes("1B 24 42 30 21 1B 24 42 30 21 1B 28 42");
    EXPECT_EQ(detect(m_japanese, redundant, strict), Ids{kJis});
    strict.rejectRedundantEscapes = true;
    EXPECT_EQ(detect(m_japanese, redundant, strict), Ids{});
}

TEST_F(Detection, JapaneseUtf8AgainstShiftJis) {
    const std::string hiragana = bytes("E3 81 82"); // U+3042
    // Shift_JIS completes a pair with 0x81 while UTF-8 is still inside its
    // character; at the end Shift_JIS is left inside a pair.
    EXPECT_EQ(detect(m_japanese, hiragana), Ids{kUtf8});
    EXPECT_EQ(detect(m_japanese, hiragana, scanning(true)), Ids{kUtf8});

    // Without UTF-8, Shift_JIS alone is confirmed after 0x81 and decided
    // there; read to the end, it is left open and nothing remains.
    setSupported(AbstractLocale::LocalOnly);
    EXPECT_EQ(detect(m_japanese, hiragana), Ids{kSjis});
    EXPECT_EQ(detect(m_japanese, hiragana, scanning(true)), Ids{});

    setSupported(AbstractLocale::Utf8Only);
    EXPECT_EQ(detect(m_japanese, hiragana), Ids{kUtf8});
    EXPECT_EQ(detect(m_japanese, bytes("82 A0")), Ids{});

    // Outside the three settings no machine runs.
    setSupported(7);
    EXPECT_EQ(detect(m_japanese, hiragana), Ids{});
}

TEST_F(Detection, JapaneseAmbiguousKatakanaReportsBothInOrder) {
    // Two Shift_JIS katakana or one EUC-JP character: both stay confirmed.
    const std::string text = bytes("B1 B2");
    for (bool scanToEnd : {false, true}) {
        EXPECT_EQ(detect(m_japanese, text, scanning(scanToEnd)), (Ids{kSjis, kEucJp}));
    }
    // Without single-byte katakana, Shift_JIS fails on 0xB1.
    JapaneseLocale::setSupportSingleByteKana(false);
    EXPECT_EQ(detect(m_japanese, text), Ids{kEucJp});
}

TEST_F(Detection, EarlyDecisionLeavesTheRestUnread) {
    const std::string text = bytes("82 A0 FF");
    EXPECT_EQ(detect(m_japanese, text), Ids{kSjis});
    EXPECT_EQ(detect(m_japanese, text, scanning(true)), Ids{});

    const std::string utf8Tail = "abc" + bytes("C3 A9 C3");
    EXPECT_EQ(detect(m_utf8, utf8Tail), Ids{kUtf8});
    EXPECT_EQ(detect(m_utf8, utf8Tail, scanning(true)), Ids{});
    EXPECT_EQ(detect(m_utf8, bytes("C3 A9 FF")), Ids{kUtf8});
    EXPECT_EQ(detect(m_utf8, bytes("C3 A9 FF"), scanning(true)), Ids{});
}

TEST_F(Detection, VerifyCharactersDropsUnassignedCodes) {
    setSupported(AbstractLocale::LocalOnly);
    // Shift_JIS 85 40 (row 9) is a well-formed pair with no character.
    Options options;
    EXPECT_EQ(detect(m_japanese, bytes("85 40"), options), Ids{kSjis});
    options.verifyCharacters = true;
    EXPECT_EQ(detect(m_japanese, bytes("85 40"), options), Ids{});

    // EUC-JP A9 A1 (row 9) likewise; as Shift_JIS it is two katakana.
    options.verifyCharacters = false;
    EXPECT_EQ(detect(m_japanese, bytes("A9 A1"), options), (Ids{kSjis, kEucJp}));
    options.verifyCharacters = true;
    EXPECT_EQ(detect(m_japanese, bytes("A9 A1"), options), Ids{kSjis});
}

TEST_F(Detection, JapaneseRestrictiveUtf8) {
    setSupported(AbstractLocale::Utf8Only);
    const std::string yen = bytes("C2 A5"); // U+00A5: no JIS code
    Options verify;
    verify.verifyCharacters = true;
    EXPECT_EQ(detect(m_japanese, yen, verify), Ids{kUtf8});
    m_japanese.useRestrictiveUtf8(true);
    EXPECT_EQ(detect(m_japanese, yen, verify), Ids{});
    EXPECT_EQ(detect(m_japanese, yen), Ids{kUtf8});
    EXPECT_EQ(detect(m_japanese, bytes("E3 81 82"), verify), Ids{kUtf8});
}

TEST_F(Detection, KoreanUnderEachSetting) {
    const std::string both = bytes("C3 A9");         // UTF-8 e-acute, also an EUC-KR pair
    const std::string hangul = bytes("C7 D1 B1 B9"); // EUC-KR only
    const std::string neither = bytes("41 FF 41");
    struct Case {
        int setting;
        Ids both;
        Ids hangul;
    };
    const Case cases[] = {
        {AbstractLocale::LocalOnly, {kEucKr}, {kEucKr}},
        {AbstractLocale::Utf8Only, {kUtf8}, {}},
        {AbstractLocale::LocalAndUtf8, {kUtf8, kEucKr}, {kEucKr}},
        {5, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting);
        setSupported(c.setting);
        for (bool scanToEnd : {false, true}) {
            EXPECT_EQ(detect(m_korean, both, scanning(scanToEnd)), c.both);
            EXPECT_EQ(detect(m_korean, "<p>" + both + "</p>", scanning(scanToEnd)), c.both);
            EXPECT_EQ(detect(m_korean, hangul, scanning(scanToEnd)), c.hangul);
            EXPECT_EQ(detect(m_korean, neither, scanning(scanToEnd)), Ids{});
        }
    }
}

TEST_F(Detection, Utf8LocaleIgnoresTheSetting) {
    for (int setting : {0, 1, 2, 9}) {
        setSupported(setting);
        EXPECT_EQ(detect(m_utf8, bytes("E3 81 82")), Ids{kUtf8});
        EXPECT_EQ(detect(m_utf8, bytes("82 A0")), Ids{});
    }
    // Nor does it ask for restricted UTF-8.
    m_utf8.useRestrictiveUtf8(true);
    Options verify;
    verify.verifyCharacters = true;
    EXPECT_EQ(detect(m_utf8, bytes("C2 A5"), verify), Ids{kUtf8});
}

TEST_F(Detection, VerifyUtf8ByLocale) {
    const char* const yen = "\xC2\xA5";
    const char* const open = "abc\xC3";
    // Restricted rules only in the Japanese locale, only with character
    // verification, through the argument or the locale's flag.
    EXPECT_TRUE(m_japanese.verifyUtf8(yen, 2, true, false));
    EXPECT_FALSE(m_japanese.verifyUtf8(yen, 2, true, true));
    EXPECT_TRUE(m_japanese.verifyUtf8(yen, 2, false, true));
    m_japanese.useRestrictiveUtf8(true);
    EXPECT_FALSE(m_japanese.verifyUtf8(yen, 2, true, false));
    EXPECT_TRUE(m_japanese.verifyUtf8("\xE3\x81\x82", 3, true, false));
    EXPECT_TRUE(m_korean.verifyUtf8(yen, 2, true, true));
    EXPECT_TRUE(m_utf8.verifyUtf8(yen, 2, true, true));

    // An open character at the end passes; structural faults do not.
    for (AbstractLocale* locale :
         {static_cast<AbstractLocale*>(&m_japanese), static_cast<AbstractLocale*>(&m_korean),
          static_cast<AbstractLocale*>(&m_utf8)}) {
        SCOPED_TRACE(locale->getName());
        EXPECT_TRUE(locale->verifyUtf8(open, 4, false, false));
        EXPECT_TRUE(locale->verifyUtf8("", 0, true, false));
        EXPECT_FALSE(locale->verifyUtf8(nullptr, 5, true, false));
        EXPECT_TRUE(locale->verifyUtf8(nullptr, 0, true, false));
        EXPECT_FALSE(locale->verifyUtf8("\xC0\x80", 2, false, false));
        EXPECT_FALSE(locale->verifyUtf8("a\x1B", 2, false, false));
    }
}

} // namespace
} // namespace charsetkit
