// The conversion from EUC-KR into UTF-8 reads whole 64-byte blocks of ASCII
// and mapped characters and hands anything else to its character loop. Here
// the block reading at each vector level is compared, result and bytes,
// with the character loop alone: an unusual or failing piece at every
// position of the first two blocks after every prefix, every one- and
// two-byte input and every three bytes of a boundary alphabet at the end of
// a block, and real pages with bytes changed at random positions.
#include "korean/Cp949Converter.h"
#include "support/Bytes.h"
#include "support/EncoderSweeps.h"
#include "support/StreamInputs.h"
#include "support/VectorLevels.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace charsetkit {
namespace {

using detail::vector::Level;

// Hangul, ASCII runs of one to three bytes, a symbol (the middle dot), a
// line end and hanja, as in running text.
const std::string kText = test::bytes("c7 d1 b1 b9 be ee 61 b9 ae c0 da 31 32 a1 a4 33 20 c0 d4 b4 "
                                      "cf b4 d9 2e 0a 28 78 29 f9 d3 ed ae");

// Pieces that fail or that the blocks leave to the character loop, or that
// read differently from a plain pair: bytes that lead nothing, a lead before
// a trail below 0x80 (a code page 949 extension) and before bytes that are
// no trail, a pair in the user-defined area, a lead alone, ESC and SO (text
// here), and a jamo.
const std::vector<std::string> kUnusual = {
    test::bytes("80"),    test::bytes("ff"),    test::bytes("81 41"), test::bytes("a1 7f"),
    test::bytes("a1 ff"), test::bytes("b0 0a"), test::bytes("c9 a1"), test::bytes("b0"),
    test::bytes("1b"),    test::bytes("0e"),    test::bytes("a4 a1")};

class EucKrBlockDecode : public ::testing::TestWithParam<Level> {
protected:
    void compare(const std::string& input) {
        const Cp949Converter converter;
        const auto* bytes = reinterpret_cast<const unsigned char*>(input.data());
        std::string fast = "kept";
        std::string plain = "kept";
        const bool fastOk =
            converter.eucKrToUtf8(bytes, input.size(), fast, detail::BlockScan::at(GetParam()));
        const bool plainOk =
            converter.eucKrToUtf8(bytes, input.size(), plain, detail::BlockScan::byCharacter());
        ASSERT_TRUE(test::sameConversion(fastOk, fast, plainOk, plain, input));
    }
};

TEST_P(EucKrBlockDecode, UnusualPieceAtEveryPositionAfterEveryPrefix) {
    test::sweepPieces(kText, kUnusual, [this](const std::string& s) { compare(s); });
}

TEST_P(EucKrBlockDecode, EveryOneToThreeBytesAtABlockEnd) {
    test::sweepBlockEnd(
        kText, test::bytes("b0 a1"),
        {0x00, 0x0A, 0x1B, 0x41, 0x7F, 0x80, 0x81, 0xA0, 0xA1, 0xB0, 0xC8, 0xC9, 0xFD, 0xFE, 0xFF},
        [this](const std::string& s) { compare(s); });
}

TEST_P(EucKrBlockDecode, RealPagesChangedAtRandomPositions) {
    std::vector<std::string> pages = {test::readFile(std::filesystem::path(CHARSETKIT_SOURCE_DIR) /
                                                     "samples" / "ko-page.euc-kr.html")};
    const std::filesystem::path folder(CHARSETKIT_PAGES_DIR);
    if (!folder.empty()) {
        const std::string page = test::readFile(folder / "ko-64k.euckr.html");
        if (!page.empty()) {
            pages.push_back(page);
        }
    }
    ASSERT_FALSE(pages[0].empty());
    for (std::size_t n = 0; n < pages.size(); ++n) {
        const std::string& page = pages[n];
        ASSERT_NO_FATAL_FAILURE(compare(page));
        std::mt19937 random(static_cast<unsigned>(43 + n));
        for (int round = 0; round < 40; ++round) {
            std::string changed = page;
            changed[random() % changed.size()] = static_cast<char>(random() % 256);
            ASSERT_NO_FATAL_FAILURE(compare(changed));
            // Characters that convert in place of ASCII bytes, some with a
            // trail below 0x80, so that the rest still converts.
            std::string inserted = page;
            for (int k = 0; k < 8; ++k) {
                const std::size_t pos = random() % inserted.size();
                if (static_cast<unsigned char>(inserted[pos]) < 0x80) {
                    inserted.replace(pos, 1, random() % 2 == 0 ? kUnusual[2] : kUnusual[10]);
                }
            }
            ASSERT_NO_FATAL_FAILURE(compare(inserted));
        }
    }
    if (pages.size() == 1) {
        GTEST_SKIP() << "the real pages are not there; the sample page was compared";
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, EucKrBlockDecode, ::testing::ValuesIn(test::runnableLevels()),
                         test::levelParamName);

} // namespace
} // namespace charsetkit
