#include <charsetkit/encodings/EucJpEncoding.h>
#include <charsetkit/encodings/JisEncoding.h>
#include <charsetkit/encodings/SjisEncoding.h>
#include <charsetkit/traversal/EucJpTraverser.h>
#include <charsetkit/traversal/JisTraverser.h>
#include <charsetkit/traversal/SjisTraverser.h>

#include "support/Bytes.h"
#include "support/SwitchesTest.h"
#include "support/Utf8Writer.h"

#include <gtest/gtest.h>

#include <memory>
#include <typeinfo>

namespace charsetkit {
namespace {

using test::bytes;
using test::hex;
using test::utf8;

const EucJpEncoding kEucJp;
const SjisEncoding kSjis;
const JisEncoding kJis;

bool verify(const AbstractEncoding& e, const std::string& text, bool verifyCharacters = false,
            bool rejectRedundant = false, int runLimit = 10) {
    return e.verify(text.data(), static_cast<unsigned int>(text.size()), verifyCharacters,
                    rejectRedundant, runLimit);
}

class JapaneseEncodingsTest : public test::SwitchesTest {};

TEST_F(JapaneseEncodingsTest, ConvertToUtf8ReplacesTheResult) {
    const struct {
        const AbstractEncoding* encoding;
        std::string input;
        std::string expected;
    } cases[] = {
        {&kEucJp, bytes("41 A4 A2 8E B1"), utf8({'A', 0x3042, 0xFF71})},
        {&kSjis, bytes("41 82 A0 B1"), utf8({'A', 0x3042, 0xFF71})},
        {&kJis, bytes("41 1B 24 42 24 22 1B 28 49 31 1B 28 42"), utf8({'A', 0x3042, 0xFF71})},
    };
    for (const auto& c : cases) {
        std::string result = "previous text";
        bool unmapped = false;
        EXPECT_TRUE(c.encoding->convertToUtf8(
            c.input.data(), static_cast<unsigned int>(c.input.size()), result, unmapped, false));
        EXPECT_EQ(result, c.expected) << c.encoding->getPreferedID() << ": " << hex(c.input);
        EXPECT_FALSE(unmapped);

        std::string emptied = "previous text";
        EXPECT_TRUE(c.encoding->convertToUtf8("", 0, emptied, unmapped, false));
        EXPECT_TRUE(emptied.empty());
    }
}

TEST_F(JapaneseEncodingsTest, UnmappedIsSetButNeverCleared) {
    std::string result;
    bool unmapped = true;
    kSjis.convertToUtf8("abc", 3, result, unmapped, false);
    EXPECT_TRUE(unmapped);

    unmapped = false;
    const std::string userDefined = bytes("F0 40");
    kSjis.convertToUtf8(userDefined.data(), 2, result, unmapped, true);
    EXPECT_TRUE(unmapped);
    EXPECT_EQ(result, utf8({0x30FB}));
}

TEST_F(JapaneseEncodingsTest, InvalidInputDegradesToLatin1) {
    std::string result;
    bool unmapped = false;
    const std::string input = bytes("41 82 A0 FF 41");
    kSjis.convertToUtf8(input.data(), 5, result, unmapped, false);
    EXPECT_EQ(result, utf8({'A', 0x3042, 0xFF, 'A'}));
}

TEST_F(JapaneseEncodingsTest, VerifyEmptyAndTruncated) {
    for (const AbstractEncoding* e : {static_cast<const AbstractEncoding*>(&kEucJp),
                                      static_cast<const AbstractEncoding*>(&kSjis),
                                      static_cast<const AbstractEncoding*>(&kJis)}) {
        EXPECT_TRUE(verify(*e, "", true, true, 0)) << e->getPreferedID();
    }
    // A buffer that ends after a lead byte verifies in the stateless encodings.
    EXPECT_TRUE(verify(kSjis, bytes("82")));
    EXPECT_TRUE(verify(kEucJp, bytes("A4")));
    EXPECT_FALSE(verify(kSjis, bytes("82 20")));
    EXPECT_FALSE(verify(kEucJp, bytes("A4 20")));
    // The escape limits do not apply to them.
    EXPECT_TRUE(verify(kSjis, "abc", false, true, 0));
}

TEST_F(JapaneseEncodingsTest, VerifyCharactersConsultsTheTables) {
    EXPECT_TRUE(verify(kSjis, bytes("F0 40"), false));
    EXPECT_FALSE(verify(kSjis, bytes("F0 40"), true));
    EXPECT_TRUE(verify(kEucJp, bytes("F5 A1"), false));
    EXPECT_FALSE(verify(kEucJp, bytes("F5 A1"), true));
    EXPECT_TRUE(verify(kJis, bytes("1B 24 42 74 27 1B 28 42"), false));
    EXPECT_FALSE(verify(kJis, bytes("1B 24 42 74 27 1B 28 42"), true));
}

TEST_F(JapaneseEncodingsTest, VerifyIso2022JpLimitsAndEndState) {
    const std::string open = bytes("1B 24 42 30 21");
    const std::string closed = open + bytes("1B 28 42");
    EXPECT_FALSE(verify(kJis, open, false, false, 1));
    EXPECT_TRUE(verify(kJis, closed, false, false, 1));
    EXPECT_FALSE(verify(kJis, "a", false, false, 0));
    EXPECT_FALSE(verify(kJis, "a", false, false, -3));
    EXPECT_FALSE(verify(kJis, bytes("1B 24 42 1B 28 42"), false, false, 1));
    EXPECT_TRUE(verify(kJis, bytes("1B 24 42 1B 28 42"), false, false, 2));
    const std::string redundant = closed + "x" + bytes("1B 28 42");
    EXPECT_TRUE(verify(kJis, redundant, false, false, 1));
    EXPECT_FALSE(verify(kJis, redundant, false, true, 1));
}

TEST_F(JapaneseEncodingsTest, SwitchesReachVerification) {
    EXPECT_TRUE(verify(kSjis, bytes("B1")));
    EXPECT_TRUE(verify(kEucJp, bytes("8F B0 A1")));
    setSingleByteKana(false);
    setSupplementaryKanji(false);
    EXPECT_FALSE(verify(kSjis, bytes("B1")));
    EXPECT_FALSE(verify(kEucJp, bytes("8E B1")));
    EXPECT_FALSE(verify(kEucJp, bytes("8F B0 A1")));
    EXPECT_FALSE(verify(kJis, bytes("1B 24 42 95 21 1B 28 42")));
    setJisExtendedRange(true);
    EXPECT_TRUE(verify(kJis, bytes("1B 24 42 95 21 1B 28 42")));
}

TEST_F(JapaneseEncodingsTest, ConvertFromUtf8PassesTheTarget) {
    const std::string text = utf8({'<', 0x3042, 0xFF71, '>'});
    const struct {
        const AbstractEncoding* encoding;
        std::string expected;
    } cases[] = {
        {&kEucJp, bytes("3C A4 A2 8E B1 3E")},
        {&kSjis, bytes("3C 82 A0 B1 3E")},
        {&kJis, bytes("3C 1B 24 42 24 22 1B 28 49 31 1B 28 42 3E")},
    };
    for (const auto& c : cases) {
        std::string result = "old";
        EXPECT_TRUE(c.encoding->convertFromUtf8(text.data(), static_cast<unsigned int>(text.size()),
                                                result));
        EXPECT_EQ(hex(result), hex(c.expected)) << c.encoding->getPreferedID();
        // And back again.
        std::string back;
        bool unmapped = false;
        c.encoding->convertToUtf8(result.data(), static_cast<unsigned int>(result.size()), back,
                                  unmapped, false);
        EXPECT_EQ(back, text) << c.encoding->getPreferedID();

        std::string untouched = "old";
        const std::string invalid = bytes("41 80 42");
        EXPECT_FALSE(c.encoding->convertFromUtf8(invalid.data(), 3, untouched));
        EXPECT_EQ(untouched, "old");
    }
}

TEST_F(JapaneseEncodingsTest, ExactTraversers) {
    std::unique_ptr<AbstractTraverser> euc(kEucJp.getExactEncodingTraverser());
    std::unique_ptr<AbstractTraverser> sjis(kSjis.getExactEncodingTraverser());
    std::unique_ptr<AbstractTraverser> jis(kJis.getExactEncodingTraverser());
    ASSERT_TRUE(euc && sjis && jis);
    const AbstractTraverser& eucRef = *euc;
    const AbstractTraverser& sjisRef = *sjis;
    const AbstractTraverser& jisRef = *jis;
    EXPECT_EQ(typeid(eucRef), typeid(EucJpTraverser));
    EXPECT_EQ(typeid(sjisRef), typeid(SjisTraverser));
    EXPECT_EQ(typeid(jisRef), typeid(JisTraverser));
    EXPECT_EQ(jis->getPos(), nullptr); // freshly constructed, unbound
}

} // namespace
} // namespace charsetkit
