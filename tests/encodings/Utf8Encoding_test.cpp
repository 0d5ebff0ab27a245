#include <charsetkit/encodings/AsciiEncoding.h>
#include <charsetkit/encodings/Utf8Encoding.h>
#include <charsetkit/traversal/AsciiTraverser.h>
#include <charsetkit/traversal/Utf8Traverser.h>

#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <typeinfo>

namespace charsetkit {
namespace {

using test::bytes;
using test::hex;

std::string utf8Of(int codePoint) {
    std::string out;
    Utf8Encoding::unicodeToUtf8(codePoint, out);
    return out;
}

TEST(Utf8Writer, EveryRowBoundary) {
    const struct {
        int value;
        const char* expected;
    } cases[] = {
        {0x00, "00"},
        {0x41, "41"},
        {0x7F, "7F"},
        {0x80, "C2 80"},
        {0x7FF, "DF BF"},
        {0x800, "E0 A0 80"},
        {0xD800, "ED A0 80"},
        {0xFFFF, "EF BF BF"},
        {0x10000, "F0 90 80 80"},
        {0x1FFFFF, "F7 BF BF BF"},
        {0x200000, "F8 88 80 80 80"},
        {0x3FFFFFF, "FB BF BF BF BF"},
        {0x4000000, "FC 84 80 80 80 80"},
        {0x7FFFFFFF, "FD BF BF BF BF BF"},
        {-1, "FF BF BF BF BF BF"},
        {static_cast<int>(0x80000000u), "FE 80 80 80 80 80"},
        {0xFB2121, "F8 BE B2 84 A1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hex(utf8Of(c.value)), c.expected) << std::hex << c.value;
    }
}

TEST(Utf8Writer, AppendsWithoutClearing) {
    std::string out = "x";
    Utf8Encoding::unicodeToUtf8(0x41, out);
    Utf8Encoding::unicodeToUtf8(0x42, out);
    EXPECT_EQ(out, "xAB");
}

TEST(Utf8Decoder, ReadsWithoutValidating) {
    const auto p = [](const char* s) { return reinterpret_cast<const unsigned char*>(s); };
    EXPECT_EQ(Utf8Encoding::utf8ToUnicode(p("\xE3\x83\xBB"), 3), 0x30FB);
    EXPECT_EQ(Utf8Encoding::utf8ToUnicode(p("\xC0\x80"), 2), 0);
    EXPECT_EQ(Utf8Encoding::utf8ToUnicode(p("\xFF\xBF"), 2), 0x7FF);
    EXPECT_EQ(Utf8Encoding::utf8ToUnicode(p("\xC1"), 1), 0x41);
    EXPECT_EQ(Utf8Encoding::utf8ToUnicode(p("\xE3"), 0), 0);
    EXPECT_EQ(Utf8Encoding::utf8ToUnicode(p("\xFD\xBF\xBF\xBF\xBF\xBF"), 6), 0x7FFFFFFF);
    // Lengths outside 0..6 read nothing (the buffer here is one byte long).
    const unsigned char one[1] = {0xE3};
    EXPECT_EQ(Utf8Encoding::utf8ToUnicode(one, 7), 0);
    EXPECT_EQ(Utf8Encoding::utf8ToUnicode(one, -1), 0);
    EXPECT_EQ(Utf8Encoding::utf8ToUnicode(nullptr, 3), 0);
}

TEST(Utf8Decoder, EachLengthKeepsOnlyTheValueBitsOfItsLead) {
    // All-ones bytes: the lead contributes exactly the bits of its mask
    // (7F, 1F, 0F, 07, 03, 01), each following byte six ones.
    const unsigned char ones[6] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    const unsigned int masks[7] = {0x00, 0x7F, 0x1F, 0x0F, 0x07, 0x03, 0x01};
    for (int n = 1; n <= 6; ++n) {
        const unsigned int tail = 6u * static_cast<unsigned int>(n - 1);
        const unsigned int expected = (masks[n] << tail) | ((1u << tail) - 1u);
        EXPECT_EQ(Utf8Encoding::utf8ToUnicode(ones, n), static_cast<int>(expected)) << n;
    }
    EXPECT_EQ(Utf8Encoding::utf8ToUnicode(ones, 0), 0);
}

TEST(Utf8Decoder, InvertsTheWriterOnEveryRow) {
    for (int v : {0x41, 0x7FF, 0x800, 0xFFFF, 0x10000, 0x10FFFF, 0x200000, 0x3FFFFFF, 0x4000000,
                  0x7FFFFFFF}) {
        const std::string s = utf8Of(v);
        EXPECT_EQ(Utf8Encoding::utf8ToUnicode(reinterpret_cast<const unsigned char*>(s.data()),
                                              static_cast<int>(s.size())),
                  v);
    }
}

TEST(Utf8CharCount, StepsByTheLeadByte) {
    const auto count = [](const std::string& s) { return Utf8Encoding::getUtf8CharCount(s); };
    EXPECT_EQ(count(""), 0);
    EXPECT_EQ(count(bytes("E3 83 BB 41")), 2);
    EXPECT_EQ(count(bytes("80 80")), 2);
    EXPECT_EQ(count(bytes("C0 80")), 2);
    EXPECT_EQ(count(bytes("E3 41")), 1);
    EXPECT_EQ(count(bytes("FC 80 80 80 80 80 FE FF")), 3);
    EXPECT_EQ(Utf8Encoding::getUtf8CharCount(nullptr, 0), 0);
    EXPECT_EQ(Utf8Encoding::getUtf8CharCount(std::string()), 0);
}

TEST(Utf8CharCount, EveryLeadByteStepsByItsLength) {
    // A lead byte followed by six ASCII bytes: the lead's step swallows
    // step - 1 of them, so the count is 8 - step.
    for (int b = 0; b < 256; ++b) {
        int step = 1;
        if (b >= 0xC2 && b <= 0xDF) {
            step = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            step = 3;
        } else if (b >= 0xF0 && b <= 0xF7) {
            step = 4;
        } else if (b >= 0xF8 && b <= 0xFB) {
            step = 5;
        } else if (b == 0xFC || b == 0xFD) {
            step = 6;
        }
        const std::string s = std::string(1, static_cast<char>(b)) + "AAAAAA";
        EXPECT_EQ(Utf8Encoding::getUtf8CharCount(s), 8 - step) << test::hex(s);
    }
}

TEST(Utf8CharCount, NeverReadsPastTheEnd) {
    // Each prefix lives in a buffer of exactly its length, so a read beyond
    // it shows up under AddressSanitizer.
    const std::string text = bytes("F0 9F 98 80 E3 81 82 C3 A9 41 FD");
    for (std::size_t n = 0; n <= text.size(); ++n) {
        std::unique_ptr<char[]> exact(new char[n == 0 ? 1 : n]);
        std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), exact.get());
        const int expected = n == 0 ? 0 : n <= 4 ? 1 : n <= 7 ? 2 : n <= 9 ? 3 : n == 10 ? 4 : 5;
        EXPECT_EQ(Utf8Encoding::getUtf8CharCount(exact.get(), static_cast<unsigned int>(n)),
                  expected)
            << n;
    }
}

TEST(Utf8Encoding, CopiesBothWaysAndClearsUnmapped) {
    const Utf8Encoding utf8;
    std::string result = "old";
    bool unmapped = true;
    const std::string input = bytes("EF BB BF FF FE");
    EXPECT_TRUE(utf8.convertToUtf8(input.data(), 5, result, unmapped, true));
    EXPECT_EQ(result, input);
    EXPECT_FALSE(unmapped);
    result = "old";
    EXPECT_TRUE(utf8.convertFromUtf8(input.data(), 5, result));
    EXPECT_EQ(result, input);
    EXPECT_TRUE(utf8.convertToUtf8(nullptr, 0, result, unmapped, false));
    EXPECT_EQ(result, "");
}

TEST(Utf8Encoding, VerifiesWithTheUtf8Machine) {
    const Utf8Encoding utf8;
    const auto ok = [&](const char* hex) {
        const std::string s = bytes(hex);
        return utf8.verify(s.data(), static_cast<unsigned int>(s.size()), false, false, 0);
    };
    EXPECT_TRUE(ok(""));
    EXPECT_TRUE(ok("E3 83"));    // cut short at the end
    EXPECT_TRUE(ok("E3 83 BB")); // verifyCharacters and the limits play no part
    EXPECT_FALSE(ok("C0 80"));
    EXPECT_FALSE(ok("80"));
    EXPECT_FALSE(ok("1B 24 42"));
    EXPECT_FALSE(ok("E0 80 80"));
    const std::string s = bytes("E3 83 BB");
    EXPECT_TRUE(utf8.verify(s.data(), 3, true, true, -5));
}

TEST(Utf8Encoding, HandsOutItsTraverser) {
    std::unique_ptr<AbstractTraverser> t(Utf8Encoding().getExactEncodingTraverser());
    ASSERT_NE(t, nullptr);
    const AbstractTraverser& traverser = *t;
    EXPECT_EQ(typeid(traverser), typeid(Utf8Traverser));
    EXPECT_TRUE(t->isStart());
    EXPECT_TRUE(t->isEnd());
}

TEST(AsciiEncoding, LowAsciiIsSevenBitWithoutShiftBytes) {
    const auto low = [](const char* hex) {
        const std::string s = bytes(hex);
        return AsciiEncoding::verifyLowAscii(s.data(), static_cast<unsigned int>(s.size()));
    };
    EXPECT_TRUE(low(""));
    EXPECT_TRUE(low("00 7F"));
    EXPECT_FALSE(low("41 80"));
    EXPECT_FALSE(low("41 1B"));
    EXPECT_FALSE(low("0E"));
    EXPECT_FALSE(low("0F"));
    EXPECT_FALSE(low("FF"));
    // No buffer behind a non-zero length is no text at all.
    EXPECT_FALSE(AsciiEncoding::verifyLowAscii(nullptr, 3));
}

TEST(AsciiEncoding, VerifyRejectsOnlyShiftBytes) {
    const AsciiEncoding ascii;
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        EXPECT_EQ(ascii.verify(&c, 1, true, true, 0), b != 0x1B && b != 0x0E && b != 0x0F) << b;
    }
    EXPECT_TRUE(ascii.verify(nullptr, 0, false, false, 0));
    const std::string s = bytes("41 1B 24 42");
    EXPECT_FALSE(ascii.verify(s.data(), 4, false, false, 5));
}

TEST(AsciiEncoding, CopiesToUtf8AndRefusesTheOtherWay) {
    const AsciiEncoding ascii;
    std::string result = "old";
    bool unmapped = true;
    const std::string input = bytes("63 61 66 E9");
    EXPECT_TRUE(ascii.convertToUtf8(input.data(), 4, result, unmapped, false));
    EXPECT_EQ(result, input);
    EXPECT_FALSE(unmapped);
    result = "keep";
    EXPECT_FALSE(ascii.convertFromUtf8(input.data(), 4, result));
    EXPECT_EQ(result, "keep");
    std::unique_ptr<AbstractTraverser> t(ascii.getExactEncodingTraverser());
    ASSERT_NE(t, nullptr);
    const AbstractTraverser& traverser = *t;
    EXPECT_EQ(typeid(traverser), typeid(AsciiTraverser));
}

} // namespace
} // namespace charsetkit
