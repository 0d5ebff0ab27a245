// The conversion from UTF-8 into EUC-KR reads whole 64-byte blocks where
// their shape is proven and hands anything else to its character loop. Here
// the block reading at each vector level is compared, result and bytes,
// with the character loop alone: an unusual or failing piece at every
// position of the first two blocks after every prefix, every one- and
// two-byte input and every three bytes of a boundary alphabet at the end of
// a block, and real pages with bytes and characters changed at random
// positions.
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

// Hangul syllables, ASCII runs of one to three bytes, a two-byte character
// (the middle dot) and a line end, as in running text.
const std::string kText = "\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4" // hangugeo
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
const std::vector<std::string> kUnusual = {"\x1B",
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

class EucKrBlockEncode : public ::testing::TestWithParam<Level> {
protected:
    void compare(const std::string& input) {
        const Cp949Converter converter;
        const auto* bytes = reinterpret_cast<const unsigned char*>(input.data());
        std::string fast = "kept";
        std::string plain = "kept";
        const bool fastOk =
            converter.utf8ToEucKr(bytes, input.size(), fast, detail::BlockScan::at(GetParam()));
        const bool plainOk =
            converter.utf8ToEucKr(bytes, input.size(), plain, detail::BlockScan::byCharacter());
        ASSERT_TRUE(test::sameConversion(fastOk, fast, plainOk, plain, input));
    }
};

TEST_P(EucKrBlockEncode, UnusualPieceAtEveryPositionAfterEveryPrefix) {
    test::sweepPieces(kText, kUnusual, [this](const std::string& s) { compare(s); });
}

// Blocks of three-byte characters and ASCII alone take a shorter way.
TEST_P(EucKrBlockEncode, UnusualPieceAmongThreeByteCharactersOnly) {
    std::string text = kText;
    text.erase(text.find("\xC2\xB7"), 2);
    test::sweepPieces(text, kUnusual, [this](const std::string& s) { compare(s); });
}

TEST_P(EucKrBlockEncode, EveryOneToThreeBytesAtABlockEnd) {
    test::sweepBlockEnd(kText, "\xEA\xB0\x80",
                        {0x00, 0x0E, 0x1B, 0x41, 0x7F, 0x80, 0x9F, 0xA0, 0xBF, 0xC1, 0xC2, 0xDF,
                         0xE0, 0xEA, 0xED, 0xEF, 0xF3, 0xFF},
                        [this](const std::string& s) { compare(s); });
}

TEST_P(EucKrBlockEncode, RealPagesChangedAtRandomPositions) {
    std::vector<std::string> pages = {test::readFile(std::filesystem::path(CHARSETKIT_SOURCE_DIR) /
                                                     "samples" / "ko-page.utf-8.html")};
    const std::filesystem::path folder(CHARSETKIT_PAGES_DIR);
    if (!folder.empty()) {
        const std::string page = test::readFile(folder / "ko-64k.utf8.html");
        if (!page.empty()) {
            pages.push_back(page);
        }
    }
    ASSERT_FALSE(pages[0].empty());
    for (std::size_t n = 0; n < pages.size(); ++n) {
        const std::string& page = pages[n];
        ASSERT_NO_FATAL_FAILURE(compare(page));
        std::mt19937 random(static_cast<unsigned>(41 + n));
        for (int round = 0; round < 40; ++round) {
            std::string changed = page;
            changed[random() % changed.size()] = static_cast<char>(random() % 256);
            ASSERT_NO_FATAL_FAILURE(compare(changed));
            // Language tags and characters with a code in place of ASCII
            // bytes, so that the rest still converts.
            std::string inserted = page;
            for (int k = 0; k < 8; ++k) {
                const std::size_t pos = random() % inserted.size();
                if (static_cast<unsigned char>(inserted[pos]) < 0x80) {
                    inserted.replace(pos, 1, random() % 2 == 0 ? kUnusual[5] : kUnusual[11]);
                }
            }
            ASSERT_NO_FATAL_FAILURE(compare(inserted));
        }
    }
    if (pages.size() == 1) {
        GTEST_SKIP() << "the real pages are not there; the sample page was compared";
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, EucKrBlockEncode, ::testing::ValuesIn(test::runnableLevels()),
                         test::levelParamName);

} // namespace
} // namespace charsetkit
