#include "korean/KoreanTestBytes.h"
#include "reference/IconvKoreanConverter.h"

#include <gtest/gtest.h>

#include <string>

namespace charsetkit {
namespace {

using koreantest::bytes;
using koreantest::hex;

TEST(IconvKoreanConverter, UnknownCharsetInEitherRoleFails) {
    const IconvKoreanConverter converters[] = {
        IconvKoreanConverter("NO-SUCH-CHARSET", "UTF-8"),
        IconvKoreanConverter("CP949", "NO-SUCH-CHARSET"),
    };
    for (const IconvKoreanConverter& converter : converters) {
        std::string out = "keep";
        EXPECT_FALSE(converter.eucKrToUtf8(bytes("abc"), 3, out));
        EXPECT_FALSE(converter.utf8ToEucKr(bytes("abc"), 3, out));
        EXPECT_FALSE(converter.utf8ToEucKr(nullptr, 0, out));
        EXPECT_EQ(out, "keep");
    }
}

TEST(IconvKoreanConverter, GrowsTheOutputWhenTheFirstGuessIsShort) {
    // A four-byte "Korean" charset makes the output four times the input,
    // beyond the first buffer, which is sized for EUC-KR.
    const IconvKoreanConverter wide("UTF-32LE", "UTF-8");
    std::string text;
    for (int i = 0; i < 1000; ++i) {
        text += static_cast<char>('a' + i % 26);
    }
    std::string out;
    ASSERT_TRUE(wide.utf8ToEucKr(bytes(text), text.size(), out));
    ASSERT_EQ(out.size(), text.size() * 4);
    for (std::size_t i = 0; i < text.size(); ++i) {
        ASSERT_EQ(out.substr(i * 4, 4), std::string(1, text[i]) + std::string(3, '\0')) << i;
    }
    std::string back;
    ASSERT_TRUE(wide.eucKrToUtf8(bytes(out), out.size(), back));
    EXPECT_EQ(back, text);
}

TEST(IconvKoreanConverter, FailureInTheMiddleOfLongInputKeepsTheOutput) {
    // Good text up to an unmappable character deep in the input: nothing of
    // the converted start may reach the caller.
    const IconvKoreanConverter converter;
    std::string text(100000, 'a');
    text += "\xC4\x80"; // U+0100
    text += "tail";
    std::string out = "keep";
    EXPECT_FALSE(converter.utf8ToEucKr(bytes(text), text.size(), out));
    EXPECT_EQ(out, "keep");

    std::string euc(100000, 'a');
    euc += "\xB0";
    EXPECT_FALSE(converter.eucKrToUtf8(bytes(euc), euc.size(), out)) << hex(euc.substr(99998));
    EXPECT_EQ(out, "keep");
}

} // namespace
} // namespace charsetkit
