#include <charsetkit/korean/KoreanUtil.h>

#include "korean/KoreanSentence.h"
#include "reference/IconvKoreanConverter.h"
#include "support/Bytes.h"
#include "support/KoreanUtilAccess.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace charsetkit {
namespace {

using test::asBytes;
using test::hex;
using test::lengthOf;

bool isEucKr(const std::string& text) {
    return KoreanUtil::getInstance()->isEucKrCharSet(asBytes(text), lengthOf(text));
}

// Written from the code page 949 layout, independently of the walk.
bool isLeadByte(unsigned int b) {
    return b >= 0x81 && b <= 0xFE;
}
bool isTrailByte(unsigned int b) {
    return (b >= 0x41 && b <= 0x5A) || (b >= 0x61 && b <= 0x7A) || (b >= 0x81 && b <= 0xFE);
}

TEST(KoreanUtil, ValidityWalkEdgeCases) {
    // Every input of one or two bytes is covered by the exhaustive test below.
    EXPECT_TRUE(isEucKr(""));
    EXPECT_TRUE(KoreanUtil::getInstance()->isEucKrCharSet(nullptr, 0));
    EXPECT_TRUE(isEucKr("abc"));
    EXPECT_TRUE(isEucKr("\xB0\xA1"));
    EXPECT_TRUE(isEucKr("\x81\x41")); // code page 949 extension
    EXPECT_TRUE(isEucKr(test::sentenceEucKr()));

    EXPECT_FALSE(isEucKr("\xB0"));         // lead byte cut off by the end
    EXPECT_FALSE(isEucKr("abc\xB0"));      // the same after ASCII
    EXPECT_FALSE(isEucKr("\xB0\xA1\xB0")); // the same after a pair
    EXPECT_FALSE(isEucKr("\x7F"));
    EXPECT_FALSE(isEucKr("\x80\x41"));
    EXPECT_FALSE(isEucKr("\xFF\xA1"));
    EXPECT_FALSE(isEucKr("\xB0\x20"));
    EXPECT_FALSE(isEucKr("\xB0\x5B"));

    // A pair whose lead is the last byte of the given range is cut off,
    // whatever follows in memory.
    const std::string text = "ab\xB0\xA1";
    EXPECT_FALSE(KoreanUtil::getInstance()->isEucKrCharSet(asBytes(text), 3));
}

TEST(KoreanUtil, EveryByteAndPairMatchesTheLayout) {
    for (unsigned int a = 0; a < 256; ++a) {
        const std::string one(1, static_cast<char>(a));
        ASSERT_EQ(isEucKr(one), a < 0x7F) << hex(one);
        for (unsigned int b = 0; b < 256; ++b) {
            const std::string two{static_cast<char>(a), static_cast<char>(b)};
            const bool expected = a < 0x7F ? b < 0x7F : isLeadByte(a) && isTrailByte(b);
            ASSERT_EQ(isEucKr(two), expected) << hex(two);
        }
    }
}

TEST(KoreanUtil, ConvertsHangulBothWays) {
    KoreanUtil* const util = KoreanUtil::getInstance();
    std::string out = "old";
    ASSERT_TRUE(util->convertToUtf8(asBytes("\xB0\xA1"), 2, out));
    EXPECT_EQ(out, "\xEA\xB0\x80") << hex(out); // U+AC00
    ASSERT_TRUE(util->convertFromUtf8(asBytes("\xEA\xB0\x80"), 3, out));
    EXPECT_EQ(out, "\xB0\xA1") << hex(out);

    // A code page 949 extension: 81 41 is U+AC02.
    ASSERT_TRUE(util->convertToUtf8(asBytes("\x81\x41"), 2, out));
    EXPECT_EQ(out, "\xEA\xB0\x82") << hex(out);
    ASSERT_TRUE(util->convertFromUtf8(asBytes("\xEA\xB0\x82"), 3, out));
    EXPECT_EQ(out, "\x81\x41") << hex(out);

    const std::string& euc = test::sentenceEucKr();
    const std::string& utf8 = test::sentenceUtf8();
    ASSERT_TRUE(util->convertToUtf8(asBytes(euc), lengthOf(euc), out));
    EXPECT_EQ(out, utf8) << hex(out);
    ASSERT_TRUE(util->convertFromUtf8(asBytes(utf8), lengthOf(utf8), out));
    EXPECT_EQ(out, euc) << hex(out);
}

TEST(KoreanUtil, EmptyInputGivesEmptyOutput) {
    KoreanUtil* const util = KoreanUtil::getInstance();
    std::string out = "old";
    EXPECT_TRUE(util->convertToUtf8(nullptr, 0, out));
    EXPECT_EQ(out, "");
    out = "old";
    EXPECT_TRUE(util->convertFromUtf8(nullptr, 0, out));
    EXPECT_EQ(out, "");
}

// A null buffer with a non-zero length holds no text: every operation fails
// instead of reading through the null pointer or converting nothing.
TEST(KoreanUtil, NullInputWithALengthFails) {
    KoreanUtil* const util = KoreanUtil::getInstance();
    EXPECT_FALSE(util->isEucKrCharSet(nullptr, 2));
    std::string out = "keep";
    EXPECT_FALSE(util->convertToUtf8(nullptr, 2, out));
    EXPECT_EQ(out, "keep");
    EXPECT_FALSE(util->convertFromUtf8(nullptr, 3, out));
    EXPECT_EQ(out, "keep");
}

TEST(KoreanUtil, LongTextConvertsWhole) {
    // Long enough that a conversion done in pieces would show its seams.
    std::string euc;
    std::string utf8;
    for (int i = 0; i < 5000; ++i) {
        euc += test::sentenceEucKr() + "<br>\n";
        utf8 += test::sentenceUtf8() + "<br>\n";
    }
    KoreanUtil* const util = KoreanUtil::getInstance();
    std::string out;
    ASSERT_TRUE(util->convertToUtf8(asBytes(euc), lengthOf(euc), out));
    EXPECT_TRUE(out == utf8);
    ASSERT_TRUE(util->convertFromUtf8(asBytes(utf8), lengthOf(utf8), out));
    EXPECT_TRUE(out == euc);
}

TEST(KoreanUtil, InvalidInputFailsAndKeepsTheOutput) {
    KoreanUtil* const util = KoreanUtil::getInstance();
    const std::string badEucKr[] = {
        "\xB0\x20",         // trail outside the layout
        "\xB0",             // lead byte at the end
        "abc\xB0\xA1\xB0",  // the same after good text
        "\x80",             // never a lead
        "\xFF\xA1",         // never a lead
        "\xB0\xA1\xC9\xA1", // user-defined row, no Unicode mapping
    };
    for (const std::string& input : badEucKr) {
        std::string out = "keep";
        EXPECT_FALSE(util->convertToUtf8(asBytes(input), lengthOf(input), out)) << hex(input);
        EXPECT_EQ(out, "keep") << hex(input);
    }

    const std::string badUtf8[] = {
        "\xEA\xB0",                     // cut off at the end
        "\xEA\xB0\x80\x80",             // stray continuation byte
        "\xC0\xAF",                     // overlong '/'
        "\xED\xA0\x80",                 // surrogate
        "\xF4\x90\x80\x80",             // above U+10FFFF
        "\xFF",                         // never in UTF-8
        "\xC4\x80",                     // U+0100, not in code page 949
        "\xEA\xB0\x80\xF0\x9F\x98\x80", // U+1F600 after a Hangul syllable
        "\xEF\xBB\xBF",                 // U+FEFF
    };
    for (const std::string& input : badUtf8) {
        std::string out = "keep";
        EXPECT_FALSE(util->convertFromUtf8(asBytes(input), lengthOf(input), out)) << hex(input);
        EXPECT_EQ(out, "keep") << hex(input);
    }
}

TEST(KoreanUtil, EveryConvertedPairIsAcceptedAndRoundTrips) {
    // Every pair the converter takes is one the walk accepts, and converts
    // back to itself: no pair is altered on the way.
    KoreanUtil* const util = KoreanUtil::getInstance();
    int converted = 0;
    for (unsigned int a = 0x80; a < 256; ++a) {
        for (unsigned int b = 0; b < 256; ++b) {
            const std::string pair{static_cast<char>(a), static_cast<char>(b)};
            std::string utf8;
            if (!util->convertToUtf8(asBytes(pair), 2, utf8)) {
                continue;
            }
            ++converted;
            ASSERT_TRUE(isEucKr(pair)) << hex(pair);
            std::string back;
            ASSERT_TRUE(util->convertFromUtf8(asBytes(utf8), lengthOf(utf8), back)) << hex(pair);
            ASSERT_EQ(back, pair) << hex(pair) << "-> " << hex(utf8);
        }
    }
    // The whole of code page 949: Hangul, Hanja and symbols, but not the
    // user-defined rows.
    EXPECT_EQ(converted, 17048);
}

TEST(KoreanUtil, ConcurrentConversionsAgree) {
    const std::string& euc = test::sentenceEucKr();
    const std::string& utf8 = test::sentenceUtf8();
    KoreanUtil* const util = KoreanUtil::getInstance();
    std::vector<int> failures(4, 0);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < failures.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 200; ++i) {
                std::string out;
                if (!util->convertToUtf8(asBytes(euc), lengthOf(euc), out) || out != utf8) {
                    ++failures[t];
                }
                if (!util->convertFromUtf8(asBytes(utf8), lengthOf(utf8), out) || out != euc) {
                    ++failures[t];
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (const int count : failures) {
        EXPECT_EQ(count, 0);
    }
}

// Puts a converter behind the singleton for one test and restores the
// previous one afterwards.
class ScopedConverter {
public:
    explicit ScopedConverter(const KoreanConverter* converter)
        : m_previous(KoreanUtilAccess::exchangeConverter(converter)) {}
    ~ScopedConverter() { KoreanUtilAccess::exchangeConverter(m_previous); }
    ScopedConverter(const ScopedConverter&) = delete;
    ScopedConverter& operator=(const ScopedConverter&) = delete;

private:
    const KoreanConverter* m_previous;
};

void expectUnavailable() {
    KoreanUtil* const util = KoreanUtil::getInstance();
    std::string out = "keep";
    EXPECT_FALSE(util->convertToUtf8(asBytes("\xB0\xA1"), 2, out));
    EXPECT_EQ(out, "keep");
    EXPECT_FALSE(util->convertFromUtf8(asBytes("\xEA\xB0\x80"), 3, out));
    EXPECT_EQ(out, "keep");
    EXPECT_FALSE(util->convertToUtf8(nullptr, 0, out));
    EXPECT_EQ(out, "keep");
    EXPECT_TRUE(isEucKr("\xB0\xA1"));
    EXPECT_FALSE(isEucKr("\xB0\x20"));
}

TEST(KoreanUtil, NoConverterFailsConversionsOnly) {
    const ScopedConverter none(nullptr);
    expectUnavailable();
}

TEST(KoreanUtil, UnknownCharsetFailsConversionsOnly) {
    static constexpr IconvKoreanConverter unknown("NO-SUCH-CHARSET", "UTF-8");
    const ScopedConverter scoped(&unknown);
    expectUnavailable();
}

} // namespace
} // namespace charsetkit
