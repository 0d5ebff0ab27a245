#include "korean/IconvKoreanConverter.h"
#include "korean/KoreanSentence.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <limits>
#include <string>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define CHARSETKIT_TEST_HUGE_ALLOCATIONS_ABORT 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) ||                         \
    __has_feature(memory_sanitizer)
#define CHARSETKIT_TEST_HUGE_ALLOCATIONS_ABORT 1
#endif
#endif

namespace charsetkit {
namespace {

using test::asBytes;
using test::hex;

TEST(IconvKoreanConverter, UnknownCharsetInEitherRoleFails) {
    const IconvKoreanConverter converters[] = {
        IconvKoreanConverter("NO-SUCH-CHARSET", "UTF-8"),
        IconvKoreanConverter("CP949", "NO-SUCH-CHARSET"),
    };
    for (const IconvKoreanConverter& converter : converters) {
        std::string out = "keep";
        EXPECT_FALSE(converter.eucKrToUtf8(asBytes("abc"), 3, out));
        EXPECT_FALSE(converter.utf8ToEucKr(asBytes("abc"), 3, out));
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
    ASSERT_TRUE(wide.utf8ToEucKr(asBytes(text), text.size(), out));
    ASSERT_EQ(out.size(), text.size() * 4);
    for (std::size_t i = 0; i < text.size(); ++i) {
        ASSERT_EQ(out.substr(i * 4, 4), std::string(1, text[i]) + std::string(3, '\0')) << i;
    }
    std::string back;
    ASSERT_TRUE(wide.eucKrToUtf8(asBytes(out), out.size(), back));
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
    EXPECT_FALSE(converter.utf8ToEucKr(asBytes(text), text.size(), out));
    EXPECT_EQ(out, "keep");

    std::string euc(100000, 'a');
    euc += "\xB0";
    EXPECT_FALSE(converter.eucKrToUtf8(asBytes(euc), euc.size(), out)) << hex(euc.substr(99998));
    EXPECT_EQ(out, "keep");
}

// A length whose output buffer could never be held fails before the input is
// read (the three bytes below stand in for a buffer that long): by the
// overflow checks, or because the string refuses the size.
TEST(IconvKoreanConverter, LengthsBeyondAnyOutputBufferFailWithoutReading) {
    const IconvKoreanConverter converter;
    constexpr std::size_t kMax = std::numeric_limits<std::size_t>::max();
    for (const std::size_t length : {kMax, kMax / 2 + 1, kMax / 2, kMax - 17}) {
        std::string out = "keep";
        EXPECT_FALSE(converter.eucKrToUtf8(asBytes("abc"), length, out)) << length;
        EXPECT_FALSE(converter.utf8ToEucKr(asBytes("abc"), length, out)) << length;
        EXPECT_EQ(out, "keep") << length;
    }
}

#ifndef CHARSETKIT_TEST_HUGE_ALLOCATIONS_ABORT
// An output buffer the string accepts but memory cannot hold: the failed
// allocation is a failed conversion, not an exception. (The sanitizers
// abort on such a request instead, so this is left to the plain builds.)
TEST(IconvKoreanConverter, OutputBufferMemoryCannotHoldFails) {
    const IconvKoreanConverter converter;
    const std::size_t length = std::string().max_size() / 2;
    std::string out = "keep";
    EXPECT_FALSE(converter.utf8ToEucKr(asBytes("abc"), length, out));
    EXPECT_EQ(out, "keep");
}
#endif

} // namespace
} // namespace charsetkit
