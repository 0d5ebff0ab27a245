// EUC-JP verification and conversion in 64-byte blocks against the machine
// read byte by byte (the virtual driver for verification, the plain
// conversion in tests/reference), at every vector level this machine runs,
// with every switch setting that changes what the machine accepts or maps.
// Inputs: dense Japanese text (plain ASCII runs of one or two bytes between
// one or two pairs, as in prose) with an unusual byte at every position of
// the first blocks after every prefix length, every 1- and 2-byte input and
// 3-byte inputs over boundary bytes placed across a block edge, and the real
// pages mutated at random.
#include <charsetkit/detectors/EucJpDetectorSM.h>

#include "detectors/EucJpBlocks.h"
#include "reference/JapaneseConversionReference.h"
#include "support/Bytes.h"
#include "support/StreamInputs.h"
#include "support/SwitchesTest.h"
#include "support/VectorLevels.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <random>
#include <string>
#include <vector>

namespace charsetkit {
namespace {

using detail::vector::Level;

// Text of plain ASCII runs of zero to two bytes between one or two pairs:
// mapped kana and kanji, now and then a code page 932 extension (0xAD 0xA1)
// or a pair no table maps (0xA9 0xA1), which the blocks leave to the machine.
std::string denseText(std::size_t size, unsigned seed) {
    static const char* const kPairs[] = {"\xA4\xA2", "\xA4\xF3", "\xA5\xA2", "\xB0\xA1",
                                         "\xC6\xFC", "\xA1\xA2", "\xFC\xFE", "\xCB\xDC",
                                         "\xAD\xA1", "\xA9\xA1"};
    std::minstd_rand random(seed);
    std::string text;
    while (text.size() < size) {
        const auto ascii = static_cast<unsigned>(random() % 3);
        for (unsigned k = 0; k < ascii; ++k) {
            text += static_cast<char>('a' + random() % 26);
        }
        const auto pairs = static_cast<unsigned>(1 + random() % 2);
        for (unsigned k = 0; k < pairs; ++k) {
            const auto r = static_cast<unsigned>(random() % 64);
            text += kPairs[r < 62 ? r % 8 : 8 + r % 2];
        }
    }
    text.resize(size);
    return text;
}

class EucJpBlocks : public test::SwitchesTest, public ::testing::WithParamInterface<Level> {
protected:
    Level level() const { return GetParam(); }

    // The block reads and the machine on `s`: the verification answers, and
    // the conversions' output, unmapped flag and every field.
    ::testing::AssertionResult same(const std::string& s) const {
        const auto n = static_cast<unsigned int>(s.size());
        for (bool verifyCharacters : {false, true}) {
            EucJpDetectorSM plain;
            AbstractDetectorSM& virtualPlain = plain;
            const bool expected = virtualPlain.verify(s.data(), n, verifyCharacters, false, 0);
            if (detail::eucjp::verifyBlocks(level(), test::asBytes(s), n, verifyCharacters) !=
                expected) {
                return ::testing::AssertionFailure()
                       << "verify " << verifyCharacters << " gives " << !expected;
            }
        }
        for (bool repl : {false, true}) {
            EucJpDetectorSM fast;
            EucJpDetectorSM plain;
            bool fastUnmapped = false;
            bool plainUnmapped = false;
            std::string out = "kept";
            detail::eucjp::convertToUtf8(level(), fast, s.data(), n, out, fastUnmapped, repl);
            const std::string expected =
                "kept" + reference::convertPlain(plain, s, repl, plainUnmapped);
            if (out != expected || fastUnmapped != plainUnmapped || fast.m_state != plain.m_state ||
                fast.m_firstByte != plain.m_firstByte || fast.m_error != plain.m_error ||
                fast.m_confirmed != plain.m_confirmed || fast.m_inChar != plain.m_inChar) {
                std::size_t at = 0;
                while (at < out.size() && at < expected.size() && out[at] == expected[at]) {
                    ++at;
                }
                return ::testing::AssertionFailure()
                       << "conversion (replacement " << repl << ") differs from output byte " << at
                       << "; state " << fast.m_state << "/" << plain.m_state << " first byte "
                       << int{fast.m_firstByte} << "/" << int{plain.m_firstByte} << " error "
                       << fast.m_error << "/" << plain.m_error << " confirmed " << fast.m_confirmed
                       << "/" << plain.m_confirmed << " unmapped " << fastUnmapped << "/"
                       << plainUnmapped;
            }
        }
        return ::testing::AssertionSuccess();
    }

    // `check` with the switches the machine reads all on, all off, and all
    // on but the code page 932 extensions (which change what verification
    // accepts but not the table the blocks convert with).
    template <class Check>
    void underSwitchSettings(Check check) {
        for (int bits : {7, 0, 3}) {
            setSingleByteKana((bits & 1) != 0);
            setSupplementaryKanji((bits & 2) != 0);
            setSjisExtensions((bits & 4) != 0);
            check(bits);
        }
    }
};

TEST_P(EucJpBlocks, UnusualByteAtEachPlaceAfterEachPrefix) {
    // Bytes that end the blocks' work in each way: SS2, SS3, bytes no
    // character starts with, ESC/SO/SI, plain ASCII and a pair byte (which
    // may leave a lead without its trail or move the pairs by one).
    const unsigned char kUnusual[] = {0x8E, 0x8F, 0x80, 0xA0, 0xFF, 0x1B, 0x0E, 0x0F, 0x41, 0xA1};
    const std::string text = denseText(200, 7);
    underSwitchSettings([&](int bits) {
        for (std::size_t prefix = 0; prefix < 16; ++prefix) {
            const std::string base = std::string(prefix, 'x') + text;
            for (std::size_t at = 0; at < 144; ++at) {
                for (unsigned char byte : kUnusual) {
                    std::string s = base;
                    s[at] = static_cast<char>(byte);
                    ASSERT_TRUE(same(s)) << "switches " << bits << " " << test::hex(s);
                }
            }
        }
    });
}

TEST_P(EucJpBlocks, ShortInputsAloneAndAcrossABlockEdge) {
    const std::string text = denseText(160, 3);
    std::vector<std::string> shorts;
    for (int a = 0; a < 256; ++a) {
        shorts.emplace_back(1, static_cast<char>(a));
        for (int b = 0; b < 256; ++b) {
            shorts.push_back({static_cast<char>(a), static_cast<char>(b)});
        }
    }
    const unsigned char kBoundary[] = {0x00, 0x0E, 0x1B, 0x41, 0x7F, 0x80, 0x8E, 0x8F,
                                       0xA0, 0xA1, 0xAD, 0xDF, 0xE0, 0xFE, 0xFF};
    for (unsigned char a : kBoundary) {
        for (unsigned char b : kBoundary) {
            for (unsigned char c : kBoundary) {
                shorts.push_back(
                    {static_cast<char>(a), static_cast<char>(b), static_cast<char>(c)});
            }
        }
    }
    for (const std::string& piece : shorts) {
        ASSERT_TRUE(same(piece)) << test::hex(piece);
        // Over the first block's end, after a lead or a one-byte character.
        for (std::size_t at : {62u, 63u}) {
            const std::string s = text.substr(0, at) + piece + text.substr(at);
            ASSERT_TRUE(same(s)) << test::hex(s);
        }
    }
}

TEST_P(EucJpBlocks, LongRunsAndEveryLengthNearTheBlockSizes) {
    const std::string text = denseText(400, 11);
    for (std::size_t n = 0; n <= text.size(); ++n) {
        ASSERT_TRUE(same(text.substr(0, n))) << n;
    }
    // Long plain ASCII gaps and long runs of pairs, with a lead at each
    // block's last byte.
    std::string mixed = std::string(100, 'a');
    for (int k = 0; k < 70; ++k) {
        mixed += "\xB0\xA1";
    }
    mixed += std::string(90, 'b') + "\xC6";
    for (std::size_t n = 0; n <= mixed.size(); ++n) {
        ASSERT_TRUE(same(mixed.substr(0, n))) << n;
        ASSERT_TRUE(same("z" + mixed.substr(0, n))) << n;
    }
}

TEST_P(EucJpBlocks, RealPagesMutatedAtRandom) {
    std::vector<test::NamedInput> pages;
    for (auto& input : test::fileInputs()) {
        if (test::encodingOfName(input.name) == "euc-jp") {
            pages.push_back(std::move(input));
        }
    }
    if (pages.empty()) {
        GTEST_SKIP() << "no EUC-JP pages";
    }
    std::mt19937 random(5);
    const unsigned char kBytes[] = {0x8E, 0x8F, 0x80, 0xFF, 0x1B, 0x0A, 0xA1, 0xAD, 0xA9, 0xFE};
    underSwitchSettings([&](int bits) {
        for (const auto& page : pages) {
            ASSERT_TRUE(same(page.bytes)) << page.name << " switches " << bits;
            if (page.bytes.empty()) {
                continue;
            }
            for (int round = 0; round < 6; ++round) {
                std::string s = page.bytes;
                const std::size_t at = random() % s.size();
                s[at] = static_cast<char>(kBytes[random() % sizeof kBytes]);
                ASSERT_TRUE(same(s))
                    << page.name << " byte " << at << " set to "
                    << int{static_cast<unsigned char>(s[at])} << " switches " << bits;
            }
        }
    });
}

INSTANTIATE_TEST_SUITE_P(Levels, EucJpBlocks, ::testing::ValuesIn(test::runnableLevels()),
                         test::levelParamName);

} // namespace
} // namespace charsetkit
