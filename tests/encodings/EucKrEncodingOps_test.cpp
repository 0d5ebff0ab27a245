#include <charsetkit/encodings/EucKrEncoding.h>
#include <charsetkit/traversal/AbstractTraverser.h>
#include <charsetkit/traversal/EucKrTraverser.h>

#include "korean/KoreanSentence.h"
#include "support/Bytes.h"
#include "support/KoreanUtilAccess.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace charsetkit {
namespace {

using test::hex;
using test::lengthOf;

bool verifyWith(const std::string& text, bool verifyCharacters, bool rejectRedundant, int limit) {
    return EucKrEncoding().verify(text.data(), lengthOf(text), verifyCharacters, rejectRedundant,
                                  limit);
}

TEST(EucKrEncoding, VerifyIgnoresFlagsAndLimit) {
    const std::string inputs[] = {
        "",         "abc",      "\xB0\xA1", "\x81\x41", "\xB0",     "\x7F",
        "\x80\x41", "\xFF\xA1", "\xB0\x20", "\xB0\x5B", "\xC9\xA1", test::sentenceEucKr(),
    };
    const bool expected[] = {true,  true,  true,  true,  false, false,
                             false, false, false, false, true,  true};
    const int limits[] = {-1, 0, 1, 3, 1000};
    for (std::size_t i = 0; i < sizeof expected / sizeof expected[0]; ++i) {
        for (int flags = 0; flags < 4; ++flags) {
            for (const int limit : limits) {
                EXPECT_EQ(verifyWith(inputs[i], (flags & 1) != 0, (flags & 2) != 0, limit),
                          expected[i])
                    << hex(inputs[i]) << "flags " << flags << " limit " << limit;
            }
        }
    }
}

TEST(EucKrEncoding, ConvertToUtf8LeavesUnmappedAlone) {
    const EucKrEncoding encoding;
    for (const bool before : {false, true}) {
        for (const bool useReplacement : {false, true}) {
            bool unmapped = before;
            std::string out = "old";
            ASSERT_TRUE(encoding.convertToUtf8("\xB0\xA1", 2, out, unmapped, useReplacement));
            EXPECT_EQ(out, "\xEA\xB0\x80") << hex(out);
            EXPECT_EQ(unmapped, before);

            // An unmappable character fails the conversion; it is neither
            // flagged nor replaced.
            out = "keep";
            EXPECT_FALSE(encoding.convertToUtf8("a\xC9\xA1", 3, out, unmapped, useReplacement));
            EXPECT_EQ(out, "keep");
            EXPECT_EQ(unmapped, before);
        }
    }
}

TEST(EucKrEncoding, ConvertsFromUtf8) {
    const EucKrEncoding encoding;
    const std::string& utf8 = test::sentenceUtf8();
    std::string out;
    ASSERT_TRUE(encoding.convertFromUtf8(utf8.data(), lengthOf(utf8), out));
    EXPECT_EQ(out, test::sentenceEucKr()) << hex(out);

    out = "keep";
    EXPECT_FALSE(encoding.convertFromUtf8("\xF0\x9F\x98\x80", 4, out));
    EXPECT_EQ(out, "keep");
}

// ESC, SO and SI are written one at a time rather than as a plain ASCII run;
// long stretches of them come out unchanged in both directions, across the
// output block's refills.
TEST(EucKrEncoding, ControlBytesOutsidePlainAsciiPassThrough) {
    const EucKrEncoding encoding;
    std::string korean;
    std::string utf8;
    // More of them in a row than the output block holds.
    for (int i = 0; i < 6000; ++i) {
        const char control = "\x1B\x0E\x0F"[i % 3];
        korean += control;
        utf8 += control;
        if (i % 2500 == 2499) {
            korean += "\xB0\xA1"; // U+AC00
            utf8 += "\xEA\xB0\x80";
        }
    }
    std::string out;
    bool unmapped = false;
    ASSERT_TRUE(encoding.convertToUtf8(korean.data(), lengthOf(korean), out, unmapped, false));
    EXPECT_EQ(hex(out), hex(utf8));
    ASSERT_TRUE(encoding.convertFromUtf8(utf8.data(), lengthOf(utf8), out));
    EXPECT_EQ(hex(out), hex(korean));
}

TEST(EucKrEncoding, WithoutConverterOnlyVerifyWorks) {
    const KoreanConverter* const previous = KoreanUtilAccess::exchangeConverter(nullptr);
    const EucKrEncoding encoding;
    bool unmapped = false;
    std::string out = "keep";
    const bool toUtf8 = encoding.convertToUtf8("\xB0\xA1", 2, out, unmapped, false);
    const bool fromUtf8 = encoding.convertFromUtf8("\xEA\xB0\x80", 3, out);
    const bool valid = encoding.verify("\xB0\xA1", 2, false, false, 0);
    KoreanUtilAccess::exchangeConverter(previous);

    EXPECT_FALSE(toUtf8);
    EXPECT_FALSE(fromUtf8);
    EXPECT_EQ(out, "keep");
    EXPECT_FALSE(unmapped);
    EXPECT_TRUE(valid);
}

TEST(EucKrEncoding, HandsOutAFreshEucKrTraverser) {
    const EucKrEncoding encoding;
    const std::unique_ptr<AbstractTraverser> first(encoding.getExactEncodingTraverser());
    const std::unique_ptr<AbstractTraverser> second(encoding.getExactEncodingTraverser());
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first, second);
    EXPECT_NE(dynamic_cast<EucKrTraverser*>(first.get()), nullptr);
}

} // namespace
} // namespace charsetkit
