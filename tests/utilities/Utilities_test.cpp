#include <charsetkit/utilities/Convert.h>
#include <charsetkit/utilities/StringUtils.h>

#include <gtest/gtest.h>

#include <cctype>

namespace charsetkit {
namespace {

TEST(StringUtils, ComparesAsciiLettersWithoutCase) {
    EXPECT_EQ(StringUtils::compareCaseNotInline("Shift_JIS", "shift_jis"), 0);
    EXPECT_EQ(StringUtils::compareCaseNotInline("x-EUC-KR", "X-euc-kr"), 0);
    EXPECT_EQ(StringUtils::compareCaseNotInline("", ""), 0);
    EXPECT_NE(StringUtils::compareCaseNotInline("utf-8", "utf-8 "), 0);
    EXPECT_NE(StringUtils::compareCaseNotInline("utf-8", "utf-"), 0);
    EXPECT_NE(StringUtils::compareCaseNotInline("", "a"), 0);
}

TEST(StringUtils, FoldsOnlyAsciiLetters) {
    // '@' (0x40) and '`' (0x60) lie next to the letters but are not letters;
    // bytes from 0x80 up compare exactly (no Latin-1 folding).
    EXPECT_NE(StringUtils::compareCaseNotInline("@", "`"), 0);
    EXPECT_NE(StringUtils::compareCaseNotInline("[", "{"), 0);
    EXPECT_NE(StringUtils::compareCaseNotInline("\xC9", "\xE9"), 0);
    EXPECT_EQ(StringUtils::compareCaseNotInline("\xC9t\xE9", "\xC9T\xE9"), 0);
    for (int a = 1; a < 256; ++a) {
        for (int b = 1; b < 256; ++b) {
            const char sa[2] = {static_cast<char>(a), 0};
            const char sb[2] = {static_cast<char>(b), 0};
            const bool letterPair =
                a < 128 && b < 128 && std::isalpha(a) && std::tolower(a) == std::tolower(b);
            ASSERT_EQ(StringUtils::compareCaseNotInline(sa, sb) == 0, a == b || letterPair)
                << std::hex << a << " " << b;
        }
    }
}

TEST(StringUtils, NullMatchesNothing) {
    EXPECT_NE(StringUtils::compareCaseNotInline(nullptr, "a"), 0);
    EXPECT_NE(StringUtils::compareCaseNotInline("a", nullptr), 0);
    EXPECT_NE(StringUtils::compareCaseNotInline(nullptr, nullptr), 0);
    EXPECT_NE(StringUtils::compareCaseNotInline("", nullptr), 0);
}

TEST(Convert, HexTablesCoverEveryByte) {
    for (int c = 0; c < 256; ++c) {
        int expected = -1;
        if (c >= '0' && c <= '9') {
            expected = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            expected = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            expected = c - 'A' + 10;
        }
        EXPECT_EQ(Convert::ms_legalHexToInt[c], expected) << std::hex << c;
        EXPECT_EQ(Convert::ms_hexToInt[c], expected < 0 ? 0 : expected) << std::hex << c;
    }
}

} // namespace
} // namespace charsetkit
