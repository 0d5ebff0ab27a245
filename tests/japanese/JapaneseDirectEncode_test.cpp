// The conversion from UTF-8 into the Japanese encodings writes plain ASCII
// and the characters whose code no switch changes straight from a two-level
// table, leaving the rest to the UTF-8 machine and the code lookups. Here it
// is compared with its plain twin in tests/reference (every byte through the
// machine, every character looked up) for each target, with the extensions
// switch on and off: every code point of the Basic Multilingual Plane alone
// and between other sets, every input of one and two bytes, every three-byte
// input over boundary bytes, a failing byte at each position after each
// prefix, and the sample page with bytes changed at random positions.
#include <charsetkit/japanese/JapaneseConversions.h>

#include "reference/ReferenceTranscoder.h"
#include "support/Bytes.h"
#include "support/SwitchesTest.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace charsetkit {
namespace {

using Target = AbstractEncoding::EncodingID;

const Target kTargets[] = {AbstractEncoding::Sjis, AbstractEncoding::EucJp, AbstractEncoding::Jis};

void compare(const std::string& input, Target target) {
    std::string result = "kept";
    const bool ok = JapaneseConversions::utf8ToJapanese(
        input.data(), static_cast<unsigned int>(input.size()), target, result);
    const std::optional<std::string> expected = reference::utf8ToJapanese(input, target);
    ASSERT_EQ(ok, expected.has_value()) << "target " << target << " input " << test::hex(input);
    ASSERT_EQ(test::hex(result), test::hex(expected.value_or("kept")))
        << "target " << target << " input " << test::hex(input);
}

void compareAll(const std::string& input) {
    for (const Target target : kTargets) {
        ASSERT_NO_FATAL_FAILURE(compare(input, target));
    }
}

std::string utf8Of(std::uint32_t c) {
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | c >> 6);
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | c >> 12);
        s += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

class JapaneseDirectEncode : public test::SwitchesTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        test::SwitchesTest::SetUp();
        setSjisExtensions(GetParam());
    }
};

TEST_P(JapaneseDirectEncode, EveryCodePointAloneAndBetweenOtherSets) {
    // Neighbours from each set: ASCII, a line end, JIS X 0208, JIS X 0212,
    // katakana, a code page 932 extension.
    const std::string neighbours[] = {
        "a", "\n", utf8Of(0x3042), utf8Of(0x4E02), utf8Of(0xFF71), utf8Of(0x2460)};
    for (std::uint32_t c = 0x80; c < 0x10000; ++c) {
        const std::string s = utf8Of(c);
        ASSERT_NO_FATAL_FAILURE(compareAll(s));
        if (c % 7 == 0) {
            const std::string& before = neighbours[c % 6];
            const std::string& after = neighbours[(c / 6) % 6];
            ASSERT_NO_FATAL_FAILURE(compareAll(before + s + after));
        }
    }
}

TEST_P(JapaneseDirectEncode, EveryOneAndTwoByteInput) {
    for (int a = 0; a < 256; ++a) {
        ASSERT_NO_FATAL_FAILURE(compareAll(std::string(1, static_cast<char>(a))));
        for (int b = 0; b < 256; ++b) {
            ASSERT_NO_FATAL_FAILURE(compareAll({static_cast<char>(a), static_cast<char>(b)}));
        }
    }
}

TEST_P(JapaneseDirectEncode, EveryThreeByteInputOverBoundaryBytes) {
    const int alphabet[] = {0x00, 0x0E, 0x0F, 0x1B, 0x41, 0x7F, 0x80, 0x8F, 0x9F,
                            0xA0, 0xBF, 0xC0, 0xC1, 0xC2, 0xC3, 0xDF, 0xE0, 0xE3,
                            0xE6, 0xED, 0xEF, 0xF0, 0xF4, 0xF8, 0xFC, 0xFE, 0xFF};
    for (int a : alphabet) {
        for (int b : alphabet) {
            for (int c : alphabet) {
                ASSERT_NO_FATAL_FAILURE(
                    compareAll({static_cast<char>(a), static_cast<char>(b), static_cast<char>(c)}));
            }
        }
    }
}

TEST_P(JapaneseDirectEncode, FailingByteAtEveryPositionAfterEveryPrefix) {
    std::string text;
    for (std::uint32_t c : {0x3042u, 0x65E5u, 0x41u, 0x4E02u, 0xFF71u, 0x2460u, 0x672Cu, 0x20u}) {
        text += utf8Of(c);
    }
    while (text.size() < 96) {
        text += text;
    }
    for (const char breaker : {'\x1B', '\x80', '\xFF', '\xE3'}) {
        for (std::size_t prefix = 0; prefix < 16; ++prefix) {
            for (std::size_t pos = 0; pos < 64; ++pos) {
                std::string s = text.substr(prefix, 72);
                s[pos] = breaker;
                ASSERT_NO_FATAL_FAILURE(compareAll(s));
            }
        }
    }
}

// ASCII runs of every length from 0 to 24 between characters of each set,
// some with ESC or a bad byte inside, repeated until the output passes the
// end of the write block several times: short runs are written one byte at a
// time and runs of eight bytes or more copied whole.
TEST_P(JapaneseDirectEncode, AsciiRunsOfEveryLengthBetweenCharacters) {
    for (std::uint32_t c : {0x3042u, 0x4E02u, 0xFF71u, 0x2460u, 0xA7u}) {
        for (const int inside : {-1, 0x1B, 0x80}) {
            std::string s;
            while (s.size() < 6000) {
                for (std::size_t run = 0; run <= 24; ++run) {
                    s += utf8Of(c);
                    s += utf8Of(0x65E5);
                    std::string ascii(run, 'a');
                    if (inside >= 0 && run > 2 && s.size() > 5000) {
                        ascii[run / 2 + run % 3] = static_cast<char>(inside);
                    }
                    s += ascii;
                }
            }
            ASSERT_NO_FATAL_FAILURE(compareAll(s));
        }
    }
}

TEST_P(JapaneseDirectEncode, SamplePageWithBytesChangedAtRandomPositions) {
    std::ifstream in(std::string(CHARSETKIT_SOURCE_DIR) + "/samples/ja-page.utf-8.html",
                     std::ios::binary);
    const std::string page(std::istreambuf_iterator<char>(in), {});
    ASSERT_FALSE(page.empty());
    ASSERT_NO_FATAL_FAILURE(compareAll(page));
    std::mt19937 random(13);
    for (int round = 0; round < 40; ++round) {
        std::string changed = page;
        changed[random() % changed.size()] = static_cast<char>(random() % 256);
        ASSERT_NO_FATAL_FAILURE(compareAll(changed));
        // Cut at a random place: a character cut short at the end is dropped.
        ASSERT_NO_FATAL_FAILURE(compareAll(page.substr(0, random() % page.size())));
    }
}

INSTANTIATE_TEST_SUITE_P(Extensions, JapaneseDirectEncode, ::testing::Bool());

} // namespace
} // namespace charsetkit
