// The conversion from UTF-8 into the Japanese encodings reads whole 64-byte
// blocks where their shape is proven and hands anything else to its
// character loop. Here the block reading at each vector level is compared,
// result and bytes, with the character loop alone for each target: an
// unusual or failing piece at every position of the first two blocks after
// every prefix, every one- and two-byte input and every three bytes of a
// boundary alphabet at the end of a block, and real pages with bytes and
// characters changed at random positions under each switch setting.
#include "japanese/JapaneseOutputBuffer.h"
#include "support/BlockSweeps.h"
#include "support/Bytes.h"
#include "support/SwitchesTest.h"
#include "support/VectorLevels.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace charsetkit {
namespace {

using detail::vector::Level;
using Target = AbstractEncoding::EncodingID;

// Hiragana, kanji, ASCII runs of one to three bytes, a two-byte character
// (the section sign) and a line end, as in running text.
const std::string kProse = "\xE3\x81\x93\xE3\x82\x8C\xE3\x81\xAF" // kore wa
                           "a\xE6\x97\xA5\xE6\x9C\xAC"            // a, nihon
                           "12\xC2\xA7"
                           "3 "
                           "\xE8\xAA\x9E\xE3\x81\xA7\xE3\x81\x99\xE3\x80\x82\n"
                           "(x)\xE6\xBC\xA2\xE5\xAD\x97";

// Pieces that the blocks leave to the character loop or that fail the
// conversion: ESC, a stray continuation, bytes never in UTF-8, a cut lead,
// half-width katakana, a code page 932 extension, a JIS X 0212 kanji, an
// overlong form, a surrogate, a character beyond the Basic Multilingual
// Plane, an overlong two-byte form, and a line end.
const std::vector<std::string> kUnusual = {"\x1B",
                                           "\x80",
                                           "\xFF",
                                           "\xE3",
                                           "\xEF\xBD\xB1",
                                           "\xE2\x91\xA0",
                                           "\xE4\xB8\x82",
                                           "\xE0\x82\xA7",
                                           "\xED\xA0\x80",
                                           "\xF0\x9F\x98\x80",
                                           "\xF0\x9F\x98",
                                           "\xC0\xAF",
                                           "\n"};

class JapaneseBlockEncode : public test::SwitchesTest,
                            public ::testing::WithParamInterface<std::tuple<Level, Target>> {
protected:
    Level level() const { return std::get<0>(GetParam()); }
    Target target() const { return std::get<1>(GetParam()); }

    void compare(const std::string& input) {
        std::string fast = "kept";
        std::string plain = "kept";
        const auto length = static_cast<unsigned int>(input.size());
        const bool fastOk = detail::utf8ToJapanese(input.data(), length, target(), fast,
                                                   detail::BlockScan::at(level()));
        const bool plainOk = detail::utf8ToJapanese(input.data(), length, target(), plain,
                                                    detail::BlockScan::byCharacter());
        ASSERT_TRUE(test::sameConversion(fastOk, fast, plainOk, plain, input));
    }
};

TEST_P(JapaneseBlockEncode, UnusualPieceAtEveryPositionAfterEveryPrefix) {
    test::sweepPieces(kProse, kUnusual, [this](const std::string& s) { compare(s); });
}

// Blocks of three-byte characters and ASCII alone take a shorter way.
TEST_P(JapaneseBlockEncode, UnusualPieceAmongThreeByteCharactersOnly) {
    std::string text = kProse;
    text.erase(text.find("\xC2\xA7"), 2);
    test::sweepPieces(text, kUnusual, [this](const std::string& s) { compare(s); });
}

TEST_P(JapaneseBlockEncode, EveryOneToThreeBytesAtABlockEnd) {
    test::sweepBlockEnd(kProse, "\xE6\x97\xA5",
                        {0x00, 0x0E, 0x1B, 0x41, 0x7F, 0x80, 0x9F, 0xA0, 0xBF, 0xC1, 0xC2, 0xDF,
                         0xE0, 0xE3, 0xED, 0xEF, 0xF0, 0xFF},
                        [this](const std::string& s) { compare(s); });
}

TEST_P(JapaneseBlockEncode, RealPagesChangedAtRandomPositionsUnderEachSwitch) {
    bool real = true;
    for (int setting = 0; setting < 4; ++setting) {
        setDefaults();
        setSingleByteKana(setting != 1);
        setSjisExtensions(setting != 2);
        setSupplementaryKanji(setting != 3);
        real = test::sweepPages(
            "ja-page.utf-8.html", {"ja-prose-64k.utf8.html", "ja-tech-64k.utf8.html"},
            static_cast<unsigned>(setting * 10), 12, {kUnusual[4], kUnusual[5], kUnusual[6]},
            [this](const std::string& s) { compare(s); });
        ASSERT_FALSE(HasFatalFailure()) << "setting " << setting;
    }
    if (!real) {
        GTEST_SKIP() << "the real pages are not there; the sample page was compared";
    }
}

std::string paramName(const ::testing::TestParamInfo<std::tuple<Level, Target>>& info) {
    const Target target = std::get<1>(info.param);
    return test::levelName(std::get<0>(info.param)) + (target == AbstractEncoding::Sjis    ? "Sjis"
                                                       : target == AbstractEncoding::EucJp ? "EucJp"
                                                                                           : "Jis");
}

INSTANTIATE_TEST_SUITE_P(LevelsAndTargets, JapaneseBlockEncode,
                         ::testing::Combine(::testing::ValuesIn(test::runnableLevels()),
                                            ::testing::Values(AbstractEncoding::Sjis,
                                                              AbstractEncoding::EucJp,
                                                              AbstractEncoding::Jis)),
                         paramName);

} // namespace
} // namespace charsetkit
