#include "support/NaiveHexDecode.h"
#include "traversal/EscapeTestSupport.h"

#include <charsetkit/traversal/TraverserUtils.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <random>
#include <string>

namespace charsetkit {
namespace {

using test::allTraverserKinds;
using test::hex;
using test::kindName;
using test::makeTraverser;
using test::TraverserKind;

struct Decoded {
    bool ok;
    std::string out;
};

Decoded decode(const std::string& in, AbstractTraverser& traverser) {
    // Text left in the output by an earlier use must not survive the call.
    Decoded result{false, "stale text"};
    result.ok =
        TraverserUtils::hexDecode(result.out, in.data(), static_cast<int>(in.size()), &traverser);
    return result;
}

struct DecodeCase {
    std::string in;
    std::string out;
    bool ok;
};

// Input made of ASCII only, where every traverser stops at every byte and so
// every traverser must decode alike.
TEST(HexDecode, AsciiInputDecodesAlikeWithEveryTraverser) {
    const DecodeCase cases[] = {
        {"", "", true},
        {"%", "%", true},
        {"%4", "%4", true},
        {"%%", "%%", true},
        {"a%20b", "a b", true},
        {"%41%42", "AB", true},
        {"%e3%81%82", "\xE3\x81\x82", true},
        {"%Ff%fF", "\xFF\xFF", true},
        {std::string("x%00y", 5), std::string("x\0y", 3), true},
        {"a+b", "a+b", true},
        {"100%", "100%", true},
        {"50%4", "50%4", true},
        {"a%g", "a%g", true}, // the '%' is among the last two bytes
        {"%41%", "A%", true}, // likewise after a decoded escape
        {"%41%4", "A%4", true},
        {"%2541", "%41", true}, // decoded bytes are not scanned again
        {"%25%41", "%A", true},
        {"a%2Gb", "a%2Gb", false},
        {"%%41", "%%41", false},
        {"%4%41", "%4%41", false},
        {"%41%4g", "%41%4g", false}, // a late failure undoes earlier decoding
        {"% 41", "% 41", false},
    };
    for (TraverserKind kind : allTraverserKinds()) {
        auto traverser = makeTraverser(kind);
        for (const DecodeCase& c : cases) {
            const Decoded result = decode(c.in, *traverser);
            EXPECT_EQ(result.ok, c.ok) << kindName(kind) << " on " << hex(c.in);
            EXPECT_EQ(result.out, c.out) << kindName(kind) << " on " << hex(c.in);
        }
    }
}

TEST(HexDecode, LeavesTheTraverserWhereTheScanStopped) {
    for (TraverserKind kind : allTraverserKinds()) {
        auto traverser = makeTraverser(kind);
        for (const std::string in : {"", "a", "ab", "%41", "a%41", "abc%4", "%41%42xyz"}) {
            decode(in, *traverser);
            EXPECT_EQ(traverser->getBufferStart(), in.data()) << kindName(kind);
            EXPECT_EQ(traverser->getBufferEnd(), in.data() + in.size()) << kindName(kind);
            const std::size_t pos = static_cast<std::size_t>(traverser->getPos() - in.data());
            EXPECT_LE(pos, in.size()) << kindName(kind) << " on " << hex(in);
            EXPECT_GE(pos + 2, in.size()) << kindName(kind) << " on " << hex(in);
        }
        // A failed scan stops at the '%' it could not decode.
        const std::string bad = "ab%4g%41";
        decode(bad, *traverser);
        EXPECT_EQ(traverser->getPos(), bad.data() + 2) << kindName(kind);
    }
}

// A '%' inside a two-byte stretch of ISO-2022-JP is the first byte of a
// character: only the ISO-2022-JP traverser knows, and leaves it alone.
TEST(HexDecode, PercentInsideAMultiByteCharacterIsCopied) {
    const std::string shifted = "\x1b$B%41%42\x1b(B";
    const std::string brokenEscape = "\x1b$B%G0\x1b(B%41";
    for (TraverserKind kind : allTraverserKinds()) {
        auto traverser = makeTraverser(kind);
        const Decoded a = decode(shifted, *traverser);
        const Decoded b = decode(brokenEscape, *traverser);
        if (kind == TraverserKind::Jis) {
            EXPECT_TRUE(a.ok);
            EXPECT_EQ(a.out, shifted);
            EXPECT_TRUE(b.ok);
            EXPECT_EQ(b.out, "\x1b$B%G0\x1b(BA");
        } else {
            EXPECT_TRUE(a.ok) << kindName(kind);
            EXPECT_EQ(a.out, "\x1b$BAB\x1b(B") << kindName(kind);
            EXPECT_FALSE(b.ok) << kindName(kind);
            EXPECT_EQ(b.out, brokenEscape) << kindName(kind);
        }
    }
}

TEST(HexDecode, MultiByteCharactersAroundEscapesAreCopied) {
    struct Case {
        TraverserKind kind;
        std::string in;
        std::string out;
        bool ok;
    };
    const Case cases[] = {
        {TraverserKind::Utf8, "\xE3\x81\x82%41\xE3\x81\x82",
         "\xE3\x81\x82"
         "A\xE3\x81\x82",
         true},
        {TraverserKind::EucJp, "\xA4\xA2%5C\xA4\xA2", "\xA4\xA2\\\xA4\xA2", true},
        // 0x5C is the trail byte of a double-byte character, the escape after it is decoded.
        {TraverserKind::Sjis, "\x95\x5C%5c", "\x95\x5C\\", true},
        // A stray lead byte does not swallow the '%' after it.
        {TraverserKind::Sjis, "\x82%41",
         "\x82"
         "A",
         true},
        {TraverserKind::Jis, "\x1b$B0B\x1b(B%41", "\x1b$B0B\x1b(BA", true},
        // Bytes of a multi-byte character never are digits.
        {TraverserKind::Utf8, "%\xE3\x81\x82", "%\xE3\x81\x82", false},
        {TraverserKind::EucJp,
         "%\xA4\xA2"
         "41",
         "%\xA4\xA2"
         "41",
         false},
        {TraverserKind::Sjis,
         "%\x82\xA0"
         "41",
         "%\x82\xA0"
         "41",
         false},
        {TraverserKind::Jis, "%\x1b$B0B\x1b(B41", "%\x1b$B0B\x1b(B41", false},
    };
    for (const Case& c : cases) {
        auto traverser = makeTraverser(c.kind);
        const Decoded result = decode(c.in, *traverser);
        EXPECT_EQ(result.ok, c.ok) << kindName(c.kind) << " on " << hex(c.in);
        EXPECT_EQ(result.out, c.out) << kindName(c.kind) << " on " << hex(c.in);
    }
}

// Every pair of bytes after a '%', judged against digit rules written here.
TEST(HexDecode, EveryByteValueAsEscapeDigits) {
    for (TraverserKind kind : allTraverserKinds()) {
        auto traverser = makeTraverser(kind);
        int failures = 0;
        for (int high = 0; high < 256 && failures < 10; ++high) {
            for (int low = 0; low < 256 && failures < 10; ++low) {
                const std::string in =
                    std::string("x%") + static_cast<char>(high) + static_cast<char>(low) + "y";
                Decoded expected{false, in};
                if (test::isAsciiHexDigit(high) && test::isAsciiHexDigit(low)) {
                    const int value =
                        test::asciiHexDigitValue(high) * 16 + test::asciiHexDigitValue(low);
                    expected = {true, std::string("x") + static_cast<char>(value) + "y"};
                }
                const Decoded result = decode(in, *traverser);
                if (result.ok != expected.ok || result.out != expected.out) {
                    ++failures;
                    ADD_FAILURE() << kindName(kind) << " on " << hex(in) << ": got " << result.ok
                                  << " " << hex(result.out);
                }
            }
        }
    }
}

TEST(HexDecode, RefusesWhatItCannotScan) {
    AsciiTraverser traverser;
    std::string out = "stale";
    EXPECT_FALSE(TraverserUtils::hexDecode(out, "%41", 3, nullptr));
    EXPECT_TRUE(out.empty());
    out = "stale";
    EXPECT_FALSE(TraverserUtils::hexDecode(out, "%41", -1, &traverser));
    EXPECT_TRUE(out.empty());
    out = "stale";
    EXPECT_FALSE(TraverserUtils::hexDecode(out, nullptr, 3, &traverser));
    EXPECT_TRUE(out.empty());
    out = "stale";
    EXPECT_TRUE(TraverserUtils::hexDecode(out, nullptr, 0, &traverser));
    EXPECT_TRUE(out.empty());
}

// Decoding a string into itself: the input is the output string's own
// storage, which emptying and refilling the output would overwrite before it
// is read.
TEST(HexDecode, DecodesInPlace) {
    const DecodeCase cases[] = {
        {"a%20b%41", "a bA", true},
        {"%41%42%43", "ABC", true},
        {"%41%zz", "%41%zz", false},
        {"x%4", "x%4", true},
        {std::string(40, 'x') + "%41", std::string(40, 'x') + "A", true},
    };
    for (TraverserKind kind : allTraverserKinds()) {
        auto traverser = makeTraverser(kind);
        for (const DecodeCase& c : cases) {
            for (bool tight : {false, true}) {
                std::string text = c.in;
                if (tight) {
                    text.shrink_to_fit();
                }
                const bool ok = TraverserUtils::hexDecode(
                    text, text.data(), static_cast<int>(text.size()), traverser.get());
                EXPECT_EQ(ok, c.ok) << kindName(kind) << " on " << hex(c.in);
                EXPECT_EQ(hex(text), hex(c.out)) << kindName(kind) << " on " << hex(c.in);
            }
        }
    }
    // Only a part of the string as input.
    AsciiTraverser traverser;
    std::string text = "ab%41cd";
    EXPECT_TRUE(TraverserUtils::hexDecode(text, text.data() + 2, 3, &traverser));
    EXPECT_EQ(text, "A");
}

// Random buffers rich in '%' and digits, decoded by the library and by the
// plain decoder of tests/reference.
TEST(HexDecode, MatchesTheNaiveDecoderOnRandomBuffers) {
    const std::string alphabet = "%%%%%%0123456789abcdefABCDEFgG+ \x80\xFF";
    std::mt19937 random(20240611u);
    std::uniform_int_distribution<std::size_t> pickLength(0, 24);
    std::uniform_int_distribution<std::size_t> pickByte(0, alphabet.size() - 1);
    AsciiTraverser traverser;
    int failures = 0;
    for (int round = 0; round < 20000 && failures < 10; ++round) {
        std::string in(pickLength(random), '\0');
        for (char& c : in) {
            c = alphabet[pickByte(random)];
        }
        std::string expected;
        const bool expectedOk = test::naiveHexDecode(in, expected);
        const Decoded result = decode(in, traverser);
        if (result.ok != expectedOk || result.out != expected) {
            ++failures;
            ADD_FAILURE() << "on " << hex(in) << ": got " << result.ok << " " << hex(result.out)
                          << ", expected " << expectedOk << " " << hex(expected);
        }
    }
}

} // namespace
} // namespace charsetkit
