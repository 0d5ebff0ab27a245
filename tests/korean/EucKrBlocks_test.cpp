// The conversions between EUC-KR and UTF-8 read whole 64-byte blocks where
// they can and hand anything else to their character loops. Here the block
// reading at each vector level is compared, result and bytes, with the
// character loop alone, in both directions: an unusual or failing piece at
// every position of the first two blocks after every prefix, every one- and
// two-byte input and every three bytes of a boundary alphabet at the end of
// a block, and real pages with bytes and characters changed at random
// positions.
#include "korean/Cp949Converter.h"
#include "support/BlockSweeps.h"
#include "support/Bytes.h"
#include "support/VectorLevels.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace charsetkit {
namespace {

using detail::vector::Level;

// Hangul syllables, ASCII runs of one to three bytes, a two-byte character
// (the middle dot) and a line end, as in running text.
const std::string kUtf8Text = "\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4" // hangugeo
                              "a\xEB\xAC\xB8\xEC\x9E\x90"            // a, munja
                              "12\xC2\xB7"
                              "3 "
                              "\xEC\x9E\x85\xEB\x8B\x88\xEB\x8B\xA4.\n"
                              "(x)\xE6\xBC\xA2\xE5\xAD\x97";

// Pieces that the blocks leave to the character loop or that fail the
// conversion: ESC and SO (text here), a stray continuation, bytes never in
// UTF-8, a cut lead, a language tag (dropped), a character beyond the Basic
// Multilingual Plane and its first three bytes alone, overlong forms, a surrogate, a character
// without a code, and hiragana (which has one).
const std::vector<std::string> kUnusualUtf8 = {"\x1B",
                                               "\x0E",
                                               "\x80",
                                               "\xFF",
                                               "\xEA",
                                               "\xF3\xA0\x80\x81",
                                               "\xF0\x9F\x98\x80",
                                               "\xF0\x9F\x98",
                                               "\xE0\x82\xA7",
                                               "\xC0\xAF",
                                               "\xED\xA0\x80",
                                               "\xE1\x84\x80",
                                               "\xE3\x81\x82"};

// Hangul, ASCII runs of one to three bytes, a symbol (the middle dot), a
// line end and hanja, as in running text.
const std::string kEucKrText =
    test::bytes("c7 d1 b1 b9 be ee 61 b9 ae c0 da 31 32 a1 a4 33 20 c0 d4 b4 "
                "cf b4 d9 2e 0a 28 78 29 f9 d3 ed ae");

// Pieces that fail or that the blocks leave to the character loop, or that
// read differently from a plain pair: bytes that lead nothing, a lead before
// a trail below 0x80 (a code page 949 extension) and before bytes that are
// no trail, a pair in the user-defined area, a lead alone, ESC and SO (text
// here), and a jamo.
const std::vector<std::string> kUnusualEucKr = {
    test::bytes("80"),    test::bytes("ff"),    test::bytes("81 41"), test::bytes("a1 7f"),
    test::bytes("a1 ff"), test::bytes("b0 0a"), test::bytes("c9 a1"), test::bytes("b0"),
    test::bytes("1b"),    test::bytes("0e"),    test::bytes("a4 a1")};

using Conversion = bool (Cp949Converter::*)(const unsigned char*, std::size_t, std::string&,
                                            detail::BlockScan) const;

class EucKrBlocks : public ::testing::TestWithParam<Level> {
protected:
    // Runs `convert` on `input` with the blocks and without, and compares.
    void compare(Conversion convert, const std::string& input) {
        const Cp949Converter converter;
        const auto* bytes = reinterpret_cast<const unsigned char*>(input.data());
        std::string fast = "kept";
        std::string plain = "kept";
        const bool fastOk =
            (converter.*convert)(bytes, input.size(), fast, detail::BlockScan::at(GetParam()));
        const bool plainOk =
            (converter.*convert)(bytes, input.size(), plain, detail::BlockScan::byCharacter());
        ASSERT_TRUE(test::sameConversion(fastOk, fast, plainOk, plain, input));
    }
    void encode(const std::string& input) { compare(&Cp949Converter::utf8ToEucKr, input); }
    void decode(const std::string& input) { compare(&Cp949Converter::eucKrToUtf8, input); }
};

TEST_P(EucKrBlocks, EncodeUnusualPieceAtEveryPositionAfterEveryPrefix) {
    test::sweepPieces(kUtf8Text, kUnusualUtf8, [this](const std::string& s) { encode(s); });
}

// Blocks of three-byte characters and ASCII alone take a shorter way.
TEST_P(EucKrBlocks, EncodeUnusualPieceAmongThreeByteCharactersOnly) {
    std::string text = kUtf8Text;
    text.erase(text.find("\xC2\xB7"), 2);
    test::sweepPieces(text, kUnusualUtf8, [this](const std::string& s) { encode(s); });
}

TEST_P(EucKrBlocks, EncodeEveryOneToThreeBytesAtABlockEnd) {
    test::sweepBlockEnd(kUtf8Text, "\xEA\xB0\x80",
                        {0x00, 0x0E, 0x1B, 0x41, 0x7F, 0x80, 0x9F, 0xA0, 0xBF, 0xC1, 0xC2, 0xDF,
                         0xE0, 0xEA, 0xED, 0xEF, 0xF3, 0xFF},
                        [this](const std::string& s) { encode(s); });
}

TEST_P(EucKrBlocks, DecodeUnusualPieceAtEveryPositionAfterEveryPrefix) {
    test::sweepPieces(kEucKrText, kUnusualEucKr, [this](const std::string& s) { decode(s); });
}

TEST_P(EucKrBlocks, DecodeEveryOneToThreeBytesAtABlockEnd) {
    test::sweepBlockEnd(
        kEucKrText, test::bytes("b0 a1"),
        {0x00, 0x0A, 0x1B, 0x41, 0x7F, 0x80, 0x81, 0xA0, 0xA1, 0xB0, 0xC8, 0xC9, 0xFD, 0xFE, 0xFF},
        [this](const std::string& s) { decode(s); });
}

TEST_P(EucKrBlocks, RealPagesChangedAtRandomPositions) {
    // Language tags (dropped) and hiragana (with a code) put in the UTF-8,
    // characters that convert (one with a trail below 0x80) in the EUC-KR.
    const bool utf8Real = test::sweepPages("ko-page.utf-8.html", {"ko-64k.utf8.html"}, 41, 40,
                                           {"\xF3\xA0\x80\x81", "\xE3\x81\x82"},
                                           [this](const std::string& s) { encode(s); });
    const bool eucKrReal = test::sweepPages("ko-page.euc-kr.html", {"ko-64k.euckr.html"}, 43, 40,
                                            {test::bytes("81 41"), test::bytes("a4 a1")},
                                            [this](const std::string& s) { decode(s); });
    if (!utf8Real || !eucKrReal) {
        GTEST_SKIP() << "the real pages are not there; the sample pages were compared";
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, EucKrBlocks, ::testing::ValuesIn(test::runnableLevels()),
                         test::levelParamName);

} // namespace
} // namespace charsetkit
